-- The demo shop: a small commercial print shop with one small offset press, a two-colour and a
-- four-colour offset press, a bindery, camera and scan work, and eight quotes and jobs that between them
-- use every department of the estimate. Loads into demo/schema.sql.
--
-- Units as the shop keeps them: money in dollars; press speeds in impressions per hour; bindery speeds
-- in units per hour (sheets, pieces, books, packages or pounds, as the operation counts); spoilage in per
-- cent; times in minutes; hourly rates in dollars per hour; stock prices per thousand parent sheets,
-- weights in pounds per thousand parent sheets, cartons in thousands of sheets; ink mileage in square
-- inches per pound at full coverage; sizes as 'width X height' in inches.
--
-- The estimating figures of the tests are worked out from these rows: change a row only when it must
-- change, and say so in the commit.

-- Department markups (per cent). The stock markup of a job runs on a curve between the minimum and the
-- maximum; "Stock" is the shop's plain stock markup.
INSERT INTO MARKUPS (DEPARTMENT, MARKUP) VALUES
    ('Stock', 30),
    ('Stock (minimum)', 20),
    ('Stock (maximum)', 40),
    ('Press', 35),
    ('Pre-Press:', 25),
    ('Bindery', 30),
    ('Outside Services', 20);

-- Paper stocks on the shop's list.
INSERT INTO STOCK (STOCKID, STOCKDESC, STOCKPARENTSIZE, STOCKCALIPER, STOCKWT1000, STOCK1000CTN,
                   STOCKPRESSEFFPERC, BINDEFFPERC) VALUES
    (1, '24# White Bond', '17 X 22', 0.0040, 48, 2.5, 100, 100),
    (2, '70# White Opaque Offset', '23 X 35', 0.0045, 118, 1.2, 100, 100),
    (3, '100# Gloss Text', '25 X 38', 0.0045, 200, 1.0, 95, 95),
    (4, '100# Gloss Cover', '20 X 26', 0.0095, 200, 1.0, 90, 90),
    (5, '20# Carbonless CB/CFB/CF White-Canary-Pink', '17 X 22', 0.0035, 40, 2.5, 90, 85),
    (6, '14pt C2S Cover', '20 X 26', 0.0140, 240, 0.5, 85, 90),
    (7, '80# Matte Text', '25 X 38', 0.0041, 160, 1.5, 100, 100),
    (8, '60# White Offset', '23 X 35', 0.0036, 102, 2.0, 100, 100),
    (9, '24# Natural Linen Writing', '17 X 22', 0.0050, 48, 1.0, 90, 95),
    (10, '20# White Bond', '17 X 22', 0.0038, 40, 2.5, 100, 100);

-- Stocks with a markup of their own (carbonless is handled with more care and costs more to keep).
INSERT INTO STOCKMARKUP (STOCKID, MARKUP) VALUES
    (5, 25);

-- Presses. Type 0 is the small sheet-fed duplicator class, type 1 the offset presses.
INSERT INTO PRESSES (PRESSID, PRESSNAME, PRESSTYPE, PRINTHEADS, MAXSHEETSIZE, FEEDERHEIGHT, MINSPEED,
                     MAXSPEED, MINSPOILAGE, MAXSPOILAGE, CARBONLESSIMPACTFLAG, STOCKIMPACTFLAG,
                     FEEDERLOADINGTIME, REGGUIDETIME, DELIVERYTIME, SETUPTIME, WASHUPTIME, FOUNTAINWASTE,
                     COSTPERHOUR) VALUES
    (1, 'Small Offset 11x17 1-Colour', 0, 1, '11 X 17', 10, 4000, 9000, 1, 6, -1, -1,
        3, 5, 3, 10, 10, 0.10, 55.00),
    (2, '2-Colour Offset 20x26', 1, 2, '20 X 26', 24, 6000, 10000, 1, 5, 0, -1,
        5, 8, 5, 15, 15, 0.25, 95.00),
    (3, '4-Colour Offset 20x29', 1, 4, '20 X 29', 30, 8000, 13000, 1.5, 6, 0, -1,
        6, 10, 6, 20, 20, 0.30, 145.00);

-- Plate materials: make-ready sheets per plate, plate life in impressions, mounting, remounting and
-- work-and-turn minutes per plate, cost of one plate.
INSERT INTO PLATES (PLATEID, PLATENAME, PLATEDESC, SHEETSPERPLATE, IMPRESSIONSPERPLATE, MOUNTINGTIME,
                    REMOUNTTIME, WTTIME, COSTPERPLATE) VALUES
    (1, 'Paper Plate', 'Laser paper master, small offset', 10, 5000, 3, 3, 2, 4.50),
    (2, 'Polyester Plate', 'Laser polyester, small and 2-colour presses', 20, 20000, 5, 4, 2, 9.00),
    (3, 'CTP 20x26', 'Thermal metal plate for the 2-colour press', 25, 100000, 8, 6, 3, 18.00),
    (4, 'Metal Plate 20x29', 'Thermal CTP plate for the 4-colour press', 30, 150000, 10, 8, 3, 24.00);

-- Stock ink colours (cost per pound, mileage in square inches per pound at full coverage).
INSERT INTO COLORS (COLORID, COLORNAME, COSTPERLB, MILEAGE) VALUES
    (1, 'Black', 9.50, 400000),
    (2, 'Cyan', 14.00, 350000),
    (3, 'Magenta', 14.00, 350000),
    (4, 'Yellow', 12.50, 350000),
    (5, 'Reflex Blue', 18.00, 330000),
    (6, 'Warm Red', 17.00, 330000),
    (7, 'PMS Mixing Base', 22.00, 320000),
    (8, 'Metallic Silver Base', 32.00, 250000);

-- Matched (PMS) colours, mixed in the shop from the mixing bases above.
INSERT INTO PMSCOLORS (PMSID, PMSNO, COSTPERLB, MILEAGE) VALUES
    (1, '186', 24.00, 320000),
    (2, '286', 24.00, 320000),
    (3, '348', 24.00, 320000),
    (4, '877', 38.00, 250000);

-- Kinds of bindery work.
INSERT INTO BINDERYCATEGORIES (BINDERYCATEGORYID, BINDERYCATEGORY) VALUES
    (1, 'CUTTING'),
    (2, 'AUTOCUT'),
    (3, 'FOLDING'),
    (4, 'PADDING'),
    (5, 'DRILLING'),
    (6, 'STITCHING'),
    (7, 'PACKAGING'),
    (8, 'FOIL'),
    (9, 'COLLATING'),
    (10, 'DELIVERY'),
    (11, 'TRIMMING');

-- The bindery. Speeds are per hour in the unit the operation counts: sheets for cutting, folding,
-- drilling, collating and padding; books for the stitcher and the trimmer; packages for shrink-wrap;
-- pounds for pack-out and delivery. ADDLRUNTIME is a per cent of extra run per extra set-up for plain
-- operations, the pieces per package for shrink-wrap, the pad charge for padding and the charge per
-- carton for pack-out and delivery (whose names begin with the carton weight in pounds). MINCOST is the
-- minimum charge; for delivery it is also the rate per pound.
INSERT INTO BINDERIES (BINDERYID, BINDERYCATEGORYID, BINDERYNAME, MINSPEED, MAXSPEED, MINSPOILAGE,
                       MAXSPOILAGE, SETUPTIME, COSTPERHR, ADDLSETUPTIME, FIXEDWASTE, ADDLRUNTIME, MINCOST,
                       FOILFLAG, CARBONLESSSPOILAGEFLAG, THICKNESSFLAG, MULTIBINDERFILEFLAG, STOCKFLAG,
                       LENGTHFLAG, WTBASEDFILEFLAG, DELIVERYFILEFLAG, PACKAGINGFILEFLAG, PAGESFLAG,
                       SIGNATURESFLAG) VALUES
    (1, 1, 'Guillotine Cutting', 8000, 20000, 0.5, 2, 10, 65.00, 5, 0, 0, 15.00,
        0, 0, -1, 0, -1, 0, 0, 0, 0, 0, 0),
    (2, 2, 'Programmed Auto Trim', 10000, 25000, 0.5, 1.5, 8, 70.00, 3, 0, 0, 12.00,
        0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0),
    (3, 3, 'Tri-Fold Folder', 4000, 12000, 1, 4, 20, 60.00, 10, 25, 0, 20.00,
        0, 0, 0, 0, -1, -1, 0, 0, 0, 0, 0),
    (4, 3, 'Signature Folder', 3000, 8000, 1, 4, 30, 65.00, 15, 50, 0, 25.00,
        0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0),
    (5, 4, 'Padding (Glue)', 1000, 3000, 0.5, 2, 15, 45.00, 1, 0, 0.25, 15.00,
        0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0),
    (6, 4, 'Carbonless Fan-Apart Padding', 1500, 4000, 0.5, 2, 10, 45.00, 0.5, 0, 0.20, 15.00,
        0, -1, 0, 0, 0, 0, 0, 0, 0, 0, 0),
    (7, 5, '3-Hole Drill', 3000, 10000, 0.2, 1, 10, 50.00, 5, 0, 0, 15.00,
        0, 0, -1, 0, 0, 0, 0, 0, 0, 0, 0),
    (8, 6, 'Saddle Stitcher 4-Pocket', 1500, 4000, 1, 3, 30, 75.00, 10, 20, 0, 35.00,
        0, 0, 0, -1, 0, 0, 0, 0, 0, 0, 0),
    (9, 7, 'Shrink Wrap Tunnel', 150, 400, 0, 0.5, 10, 40.00, 0, 0, 250, 10.00,
        0, 0, 0, 0, 0, 0, 0, 0, -1, 0, 0),
    (10, 8, 'Foil Stamping', 800, 2000, 2, 6, 45, 85.00, 2.5, 10, 0, 75.00,
        -1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0),
    (11, 9, 'Collator 10-Bin', 2000, 6000, 0.5, 2, 15, 55.00, 5, 0, 0, 20.00,
        0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0),
    (12, 10, '50 lb Carton Local Delivery', 500, 1000, 0, 0, 15, 45.00, 0, 0, 1.50, 0.02,
        0, 0, 0, 0, 0, 0, 0, -1, 0, 0, 0),
    (13, 7, '40 lb Carton Pack-Out', 300, 600, 0, 0, 5, 35.00, 0, 0, 0.85, 10.00,
        0, 0, 0, 0, 0, 0, -1, 0, 0, 0, 0),
    (14, 11, 'Booklet 3-Knife Trim', 1500, 4000, 0.5, 1.5, 20, 70.00, 5, 5, 0, 20.00,
        0, 0, 0, 0, 0, 0, 0, 0, 0, 0, -1);

-- Camera work: COSTTYPE 0 a price per unit, 1 per square inch of the size, 2 the size's own price.
-- SETUPCOST is set-up time at the hourly rate COSTHR.
INSERT INTO CAMERATYPES (CAMERATYPEID, CAMERATYPE, COSTTYPE, SETUPCOST, COSTONLY, COSTSQIN, COSTHR) VALUES
    (1, 'Line Negative', 2, 10.00, 0, 0, 60.00),
    (2, 'Halftone', 1, 15.00, 0, 0.05, 60.00),
    (3, 'Film Output', 0, 0, 12.00, 0, 60.00);

INSERT INTO CAMERASIZES (CAMERASIZEID, CAMERATYPEID, CAMERASIZE, COSTPERSIZE, MINUTES) VALUES
    (1, 1, '8 X 10', 6.50, 5),
    (2, 1, '10 X 12', 8.00, 6),
    (3, 1, '11 X 14', 9.50, 7),
    (4, 2, '4 X 5', 0, 4),
    (5, 2, '8 X 10', 0, 6),
    (6, 3, '8.5 X 11', 0, 3);

INSERT INTO SCANTYPES (SCANTYPEID, SCANTYPE, COSTTYPE, SETUPCOST, COSTONLY, COSTSQIN, COSTHR) VALUES
    (1, 'Color Scan', 2, 12.00, 0, 0, 72.00),
    (2, 'Grayscale Scan', 0, 0, 8.00, 0, 72.00),
    (3, 'Drum Scan', 1, 24.00, 0, 0.35, 72.00);

INSERT INTO SCANSIZES (SCANSIZEID, SCANTYPEID, SCANSIZE, COSTPERSIZE, MINUTES) VALUES
    (1, 1, '4 X 5', 15.00, 8),
    (2, 1, '8 X 10', 25.00, 12),
    (3, 2, '8 X 10', 0, 5),
    (4, 3, '4 X 5', 0, 15);

-- The quotes and jobs. Every order is part 1. Stored estimate fields are left empty: the pricing run
-- clears and rewrites them.

-- 24101: one-colour letterhead (PMS 286 blue) on 24# bond, run 1-up on the small offset press from
-- 8.5 x 11 sheets cut four out of a 17 x 22 parent sheet.
INSERT INTO ORDERS (ORDERNO, PARTNO, QUOTEORJOB, DESCRIPTION, ACCTNAME, PHONE, DUEDATE,
    STOCKID, STOCKDESC, STOCKPARENTSIZE, STOCKCALIPER, STOCKWT1000, STOCKPARTS, STOCKPRESSEFFPERC,
    STOCKUSEPRESSEFF, STOCKIND1, STOCKIND2, STOCKIND3, STOCK1000CTN, STOCKCOST1, STOCKCOST2, STOCKCOST3,
    STOCKUSEDOLLARMARKUP, STOCKDOLLAREFF, STOCKDOLLARKFACTOR, STOCKQTYEFF, STOCKQTYKFACTOR,
    PRESSID, PRESSNAME, PRESSTYPE, PRESSSIDES, PRESSQTY, PRESSQTY2, PRESSQTY3, PRESSQTY4,
    PRESSFINISHEDSIZE, PRESSBLEEDSIZE, PRESSSIZE, PRESSNUMUPPRESSSHT, PRESSNUMUPPARENTSHT,
    PRESSDIFFFRMPRESSSHT, PRODUCTIONTYPE, PRESSSIGNATURES, PRESSPAGES, PRESSPLATEID, PRESSPLATES,
    PRESSPASSES, PRESSPRINTHEADS, PRESSSPEC, PRESSDIFFICULTY, PRESSSPEEDEFF, PRESSSPEEDKFACTOR,
    PRESSSPOILEFF, PRESSSPOILKFACTOR, PRESSSPOILCUSTOM,
    PPTYPESETVALUE, PPTYPESETVALUETYPE, PPTYPESETMINUTES, PPDESIGNVALUE, PPDESIGNVALUETYPE, PPDESIGNMINUTES,
    PPPASTEUPVALUE, PPPASTEUPVALUETYPE, PPPASTEUPMINUTES, PPPREFLIGHTVALUE, PPPREFLIGHTVALUETYPE,
    PPPREFLIGHTMINUTES, PPMATCHPRINTVALUE, PPMATCHPRINTVALUETYPE, PPMATCHPRINTMINUTES, PRINTPRICING)
VALUES ('24101', 1, 'Q', 'Letterhead, 1 colour PMS 286', 'Harbor View Dental', '(503) 555-0142', '2027-01-15',
    1, '24# White Bond', '17 X 22', 0.0040, 48, 1, 100,
    0, 0, 1, 4, 2.5, 68.00, 61.50, 55.25,
    0, 20, 5, 20, 5,
    1, 'Small Offset 11x17 1-Colour', 0, 1, 2500, 0, 0, 0,
    '8.5 X 11', '', '8.5 X 11', 1, 4,
    1, 0, 1, 1, 1, 1,
    1, 1, 0, 5, 20, 5,
    20, 20, 0,
    0, 0, 0, 0, 0, 0,
    0, 0, 0, 0, 0,
    0, 0, 0, 0, 0);

-- 24102: four-colour tri-fold brochure, 4/4 on 100# gloss text, 4-up on 19 x 25 press sheets (two out of
-- a 25 x 38 parent), front and back in two passes; scans; cut apart, folded and packed out by weight.
-- The stock markup follows the stock's dollar cost.
INSERT INTO ORDERS (ORDERNO, PARTNO, QUOTEORJOB, DESCRIPTION, ACCTNAME, PHONE, DUEDATE,
    STOCKID, STOCKDESC, STOCKPARENTSIZE, STOCKCALIPER, STOCKWT1000, STOCKPARTS, STOCKPRESSEFFPERC,
    STOCKUSEPRESSEFF, STOCKIND1, STOCKIND2, STOCKIND3, STOCK1000CTN, STOCKCOST1, STOCKCOST2, STOCKCOST3,
    STOCKUSEDOLLARMARKUP, STOCKDOLLAREFF, STOCKDOLLARKFACTOR, STOCKQTYEFF, STOCKQTYKFACTOR,
    PRESSID, PRESSNAME, PRESSTYPE, PRESSSIDES, PRESSQTY, PRESSQTY2, PRESSQTY3, PRESSQTY4,
    PRESSFINISHEDSIZE, PRESSBLEEDSIZE, PRESSSIZE, PRESSNUMUPPRESSSHT, PRESSNUMUPPARENTSHT,
    PRESSDIFFFRMPRESSSHT, PRODUCTIONTYPE, PRESSSIGNATURES, PRESSPAGES, PRESSPLATEID, PRESSPLATES,
    PRESSPASSES, PRESSPRINTHEADS, PRESSSPEC, PRESSDIFFICULTY, PRESSSPEEDEFF, PRESSSPEEDKFACTOR,
    PRESSSPOILEFF, PRESSSPOILKFACTOR, PRESSSPOILCUSTOM,
    PPTYPESETVALUE, PPTYPESETVALUETYPE, PPTYPESETMINUTES, PPDESIGNVALUE, PPDESIGNVALUETYPE, PPDESIGNMINUTES,
    PPPASTEUPVALUE, PPPASTEUPVALUETYPE, PPPASTEUPMINUTES, PPPREFLIGHTVALUE, PPPREFLIGHTVALUETYPE,
    PPPREFLIGHTMINUTES, PPMATCHPRINTVALUE, PPMATCHPRINTVALUETYPE, PPMATCHPRINTMINUTES, PRINTPRICING)
VALUES ('24102', 1, 'Q', 'Tri-fold brochure, 4/4 process', 'Cascade Outdoor Outfitters', '(503) 555-0187',
    '2027-01-22',
    3, '100# Gloss Text', '25 X 38', 0.0045, 200, 1, 95,
    -1, 0, 1, 4, 1.0, 245.00, 221.00, 198.50,
    -1, 20, 5, 20, 5,
    3, '4-Colour Offset 20x29', 1, 2, 5000, 0, 0, 0,
    '8.5 X 11', '8.75 X 11.25', '19 X 25', 4, 2,
    1, 0, 1, 2, 4, 8,
    2, 4, 0, 6, 20, 5,
    20, 20, 0,
    0, 0, 0, 0, 0, 0,
    0, 0, 0, 35.00, 0,
    30, 60.00, 1, 20, 0);

-- 24103: three-part carbonless forms, 1 colour black on the small offset press, cut, collated and
-- padded 50 sets to a pad with fan-apart glue.
INSERT INTO ORDERS (ORDERNO, PARTNO, QUOTEORJOB, DESCRIPTION, ACCTNAME, PHONE, DUEDATE,
    STOCKID, STOCKDESC, STOCKPARENTSIZE, STOCKCALIPER, STOCKWT1000, STOCKPARTS, STOCKPRESSEFFPERC,
    STOCKUSEPRESSEFF, STOCKIND1, STOCKIND2, STOCKIND3, STOCK1000CTN, STOCKCOST1, STOCKCOST2, STOCKCOST3,
    STOCKUSEDOLLARMARKUP, STOCKDOLLAREFF, STOCKDOLLARKFACTOR, STOCKQTYEFF, STOCKQTYKFACTOR,
    PRESSID, PRESSNAME, PRESSTYPE, PRESSSIDES, PRESSQTY, PRESSQTY2, PRESSQTY3, PRESSQTY4,
    PRESSFINISHEDSIZE, PRESSBLEEDSIZE, PRESSSIZE, PRESSNUMUPPRESSSHT, PRESSNUMUPPARENTSHT,
    PRESSDIFFFRMPRESSSHT, PRODUCTIONTYPE, PRESSSIGNATURES, PRESSPAGES, PRESSPLATEID, PRESSPLATES,
    PRESSPASSES, PRESSPRINTHEADS, PRESSSPEC, PRESSDIFFICULTY, PRESSSPEEDEFF, PRESSSPEEDKFACTOR,
    PRESSSPOILEFF, PRESSSPOILKFACTOR, PRESSSPOILCUSTOM,
    PPTYPESETVALUE, PPTYPESETVALUETYPE, PPTYPESETMINUTES, PPDESIGNVALUE, PPDESIGNVALUETYPE, PPDESIGNMINUTES,
    PPPASTEUPVALUE, PPPASTEUPVALUETYPE, PPPASTEUPMINUTES, PPPREFLIGHTVALUE, PPPREFLIGHTVALUETYPE,
    PPPREFLIGHTMINUTES, PPMATCHPRINTVALUE, PPMATCHPRINTVALUETYPE, PPMATCHPRINTMINUTES, PRINTPRICING)
VALUES ('24103', 1, 'J', 'Work order forms, 3-part carbonless', 'Ridgeline Auto Repair', '(503) 555-0110',
    '2027-01-08',
    5, '20# Carbonless CB/CFB/CF White-Canary-Pink', '17 X 22', 0.0035, 40, 3, 90,
    0, 0, 1, 4, 2.5, 118.00, 106.00, 96.50,
    0, 0, 0, 0, 0,
    1, 'Small Offset 11x17 1-Colour', 0, 1, 1000, 0, 0, 0,
    '8.5 X 11', '', '8.5 X 11', 1, 4,
    1, 0, 1, 1, 2, 1,
    1, 1, 0, 5, 0, 0,
    0, 0, 0,
    35.00, 0, 45, 0, 0, 0,
    0, 0, 0, 0, 0,
    0, 0, 0, 0, 0);

-- 24104: 16-page self-cover booklet in book mode, 2/2 black and PMS 186 on 60# offset: two 8-page
-- signatures on 17.5 x 23 press sheets (two out of a 23 x 35 parent), eight metal plates, four passes
-- per booklet; camera work and typesetting; folded, saddle-stitched, trimmed and delivered.
INSERT INTO ORDERS (ORDERNO, PARTNO, QUOTEORJOB, DESCRIPTION, ACCTNAME, PHONE, DUEDATE,
    STOCKID, STOCKDESC, STOCKPARENTSIZE, STOCKCALIPER, STOCKWT1000, STOCKPARTS, STOCKPRESSEFFPERC,
    STOCKUSEPRESSEFF, STOCKIND1, STOCKIND2, STOCKIND3, STOCK1000CTN, STOCKCOST1, STOCKCOST2, STOCKCOST3,
    STOCKUSEDOLLARMARKUP, STOCKDOLLAREFF, STOCKDOLLARKFACTOR, STOCKQTYEFF, STOCKQTYKFACTOR,
    PRESSID, PRESSNAME, PRESSTYPE, PRESSSIDES, PRESSQTY, PRESSQTY2, PRESSQTY3, PRESSQTY4,
    PRESSFINISHEDSIZE, PRESSBLEEDSIZE, PRESSSIZE, PRESSNUMUPPRESSSHT, PRESSNUMUPPARENTSHT,
    PRESSDIFFFRMPRESSSHT, PRODUCTIONTYPE, PRESSSIGNATURES, PRESSPAGES, PRESSPLATEID, PRESSPLATES,
    PRESSPASSES, PRESSPRINTHEADS, PRESSSPEC, PRESSDIFFICULTY, PRESSSPEEDEFF, PRESSSPEEDKFACTOR,
    PRESSSPOILEFF, PRESSSPOILKFACTOR, PRESSSPOILCUSTOM,
    PPTYPESETVALUE, PPTYPESETVALUETYPE, PPTYPESETMINUTES, PPDESIGNVALUE, PPDESIGNVALUETYPE, PPDESIGNMINUTES,
    PPPASTEUPVALUE, PPPASTEUPVALUETYPE, PPPASTEUPMINUTES, PPPREFLIGHTVALUE, PPPREFLIGHTVALUETYPE,
    PPPREFLIGHTMINUTES, PPMATCHPRINTVALUE, PPMATCHPRINTVALUETYPE, PPMATCHPRINTMINUTES, PRINTPRICING)
VALUES ('24104', 1, 'J', 'Member newsletter booklet, 16 pages 2/2', 'Willamette Garden Club',
    '(503) 555-0163', '2027-02-01',
    8, '60# White Offset', '23 X 35', 0.0036, 102, 1, 100,
    0, 0, 1, 4, 2.0, 92.00, 83.50, 76.00,
    0, 20, 5, 20, 5,
    2, '2-Colour Offset 20x26', 1, 2, 2000, 0, 0, 0,
    '8.5 X 11', '', '17.5 X 23', 1, 2,
    1, 1, 2, 16, 3, 8,
    4, 2, 0, 5, 20, 5,
    20, 20, 0,
    240.00, 0, 240, 0, 0, 0,
    0, 0, 0, 25.00, 0,
    20, 45.00, 1, 15, 0);

-- O'NEIL-01: 9 x 12 pocket folders, 2/0 reflex blue and PMS 877 silver on 100# gloss cover, 1-up;
-- design work; logo foil stamped in house; die-cut and glued by an outside vendor.
INSERT INTO ORDERS (ORDERNO, PARTNO, QUOTEORJOB, DESCRIPTION, ACCTNAME, PHONE, DUEDATE,
    STOCKID, STOCKDESC, STOCKPARENTSIZE, STOCKCALIPER, STOCKWT1000, STOCKPARTS, STOCKPRESSEFFPERC,
    STOCKUSEPRESSEFF, STOCKIND1, STOCKIND2, STOCKIND3, STOCK1000CTN, STOCKCOST1, STOCKCOST2, STOCKCOST3,
    STOCKUSEDOLLARMARKUP, STOCKDOLLAREFF, STOCKDOLLARKFACTOR, STOCKQTYEFF, STOCKQTYKFACTOR,
    PRESSID, PRESSNAME, PRESSTYPE, PRESSSIDES, PRESSQTY, PRESSQTY2, PRESSQTY3, PRESSQTY4,
    PRESSFINISHEDSIZE, PRESSBLEEDSIZE, PRESSSIZE, PRESSNUMUPPRESSSHT, PRESSNUMUPPARENTSHT,
    PRESSDIFFFRMPRESSSHT, PRODUCTIONTYPE, PRESSSIGNATURES, PRESSPAGES, PRESSPLATEID, PRESSPLATES,
    PRESSPASSES, PRESSPRINTHEADS, PRESSSPEC, PRESSDIFFICULTY, PRESSSPEEDEFF, PRESSSPEEDKFACTOR,
    PRESSSPOILEFF, PRESSSPOILKFACTOR, PRESSSPOILCUSTOM,
    PPTYPESETVALUE, PPTYPESETVALUETYPE, PPTYPESETMINUTES, PPDESIGNVALUE, PPDESIGNVALUETYPE, PPDESIGNMINUTES,
    PPPASTEUPVALUE, PPPASTEUPVALUETYPE, PPPASTEUPMINUTES, PPPREFLIGHTVALUE, PPPREFLIGHTVALUETYPE,
    PPPREFLIGHTMINUTES, PPMATCHPRINTVALUE, PPMATCHPRINTVALUETYPE, PPMATCHPRINTMINUTES, PRINTPRICING)
VALUES ('O''NEIL-01', 1, 'Q', 'Pocket folders, 2/0 with foil logo', 'O''Neil & Daughters Realty',
    '(503) 555-0199', '2027-01-29',
    4, '100# Gloss Cover', '20 X 26', 0.0095, 200, 1, 90,
    0, 0, 1, 4, 1.0, 265.00, 240.00, 218.00,
    0, 20, 5, 20, 5,
    2, '2-Colour Offset 20x26', 1, 1, 500, 0, 0, 0,
    '9 X 12', '9.25 X 12.25', '20 X 26', 1, 1,
    1, 0, 1, 1, 3, 2,
    1, 2, 0, 5, 20, 5,
    20, 20, 0,
    0, 0, 0, 150.00, 1, 120,
    0, 0, 0, 0, 0,
    0, 0, 0, 0, 0);

-- 24105: four-colour business cards, 4/4 work-and-turn, 20-up on 14pt cover; preflight; trimmed on the
-- programmed cutter and shrink-wrapped 250 to a pack.
INSERT INTO ORDERS (ORDERNO, PARTNO, QUOTEORJOB, DESCRIPTION, ACCTNAME, PHONE, DUEDATE,
    STOCKID, STOCKDESC, STOCKPARENTSIZE, STOCKCALIPER, STOCKWT1000, STOCKPARTS, STOCKPRESSEFFPERC,
    STOCKUSEPRESSEFF, STOCKIND1, STOCKIND2, STOCKIND3, STOCK1000CTN, STOCKCOST1, STOCKCOST2, STOCKCOST3,
    STOCKUSEDOLLARMARKUP, STOCKDOLLAREFF, STOCKDOLLARKFACTOR, STOCKQTYEFF, STOCKQTYKFACTOR,
    PRESSID, PRESSNAME, PRESSTYPE, PRESSSIDES, PRESSQTY, PRESSQTY2, PRESSQTY3, PRESSQTY4,
    PRESSFINISHEDSIZE, PRESSBLEEDSIZE, PRESSSIZE, PRESSNUMUPPRESSSHT, PRESSNUMUPPARENTSHT,
    PRESSDIFFFRMPRESSSHT, PRODUCTIONTYPE, PRESSSIGNATURES, PRESSPAGES, PRESSPLATEID, PRESSPLATES,
    PRESSPASSES, PRESSPRINTHEADS, PRESSSPEC, PRESSDIFFICULTY, PRESSSPEEDEFF, PRESSSPEEDKFACTOR,
    PRESSSPOILEFF, PRESSSPOILKFACTOR, PRESSSPOILCUSTOM,
    PPTYPESETVALUE, PPTYPESETVALUETYPE, PPTYPESETMINUTES, PPDESIGNVALUE, PPDESIGNVALUETYPE, PPDESIGNMINUTES,
    PPPASTEUPVALUE, PPPASTEUPVALUETYPE, PPPASTEUPMINUTES, PPPREFLIGHTVALUE, PPPREFLIGHTVALUETYPE,
    PPPREFLIGHTMINUTES, PPMATCHPRINTVALUE, PPMATCHPRINTVALUETYPE, PPMATCHPRINTMINUTES, PRINTPRICING)
VALUES ('24105', 1, 'J', 'Business cards, 4/4 process', 'Bridgeport Coffee Roasters', '(503) 555-0121',
    '2027-01-12',
    6, '14pt C2S Cover', '20 X 26', 0.0140, 240, 1, 85,
    -1, 0, 1, 4, 0.5, 395.00, 360.00, 328.00,
    0, 20, 5, 20, 5,
    3, '4-Colour Offset 20x29', 1, 2, 2000, 0, 0, 0,
    '3.5 X 2', '3.75 X 2.25', '20 X 26', 20, 1,
    1, 0, 1, 2, 4, 4,
    1, 4, 1, 5, 20, 5,
    20, 20, 0,
    0, 0, 0, 0, 0, 0,
    0, 0, 0, 15.00, 0,
    15, 0, 0, 0, 0);

-- 24106: direct-mail postcards bought in: printed by a gang-run printer and mailed by a mail house, with
-- postage passed on at cost; the shop only designs them. No press and no stock of its own.
INSERT INTO ORDERS (ORDERNO, PARTNO, QUOTEORJOB, DESCRIPTION, ACCTNAME, PHONE, DUEDATE,
    STOCKID, STOCKDESC, STOCKPARENTSIZE, STOCKCALIPER, STOCKWT1000, STOCKPARTS,
    PRESSID, PRESSNAME, PRESSTYPE, PRESSSIDES, PRESSQTY, PRESSQTY2, PRESSQTY3, PRESSQTY4,
    PRESSFINISHEDSIZE, PRESSBLEEDSIZE, PRESSSIZE, PRESSNUMUPPRESSSHT, PRESSNUMUPPARENTSHT,
    PRESSDIFFFRMPRESSSHT, PRODUCTIONTYPE, PRESSSIGNATURES, PRESSPAGES,
    PPTYPESETVALUE, PPTYPESETVALUETYPE, PPTYPESETMINUTES, PPDESIGNVALUE, PPDESIGNVALUETYPE, PPDESIGNMINUTES,
    PPPASTEUPVALUE, PPPASTEUPVALUETYPE, PPPASTEUPMINUTES, PPPREFLIGHTVALUE, PPPREFLIGHTVALUETYPE,
    PPPREFLIGHTMINUTES, PPMATCHPRINTVALUE, PPMATCHPRINTVALUETYPE, PPMATCHPRINTMINUTES, PRINTPRICING)
VALUES ('24106', 1, 'Q', 'Direct-mail postcards, printed and mailed outside', 'Sunset Heights Realty Group',
    '(503) 555-0176', '2027-02-10',
    NULL, NULL, NULL, NULL, NULL, 1,
    NULL, NULL, NULL, 2, 5000, 0, 0, 0,
    '6 X 4.25', '6.25 X 4.5', NULL, 1, 1,
    1, 0, 1, 2,
    0, 0, 0, 85.00, 1, 60,
    0, 0, 0, 0, 0,
    0, 0, 0, 0, 0);

-- 24107: 5.5 x 8.5 scratch pads, 1 colour PMS 348 green on 20# bond, 2-up on 8.5 x 11, 5,000 sheets
-- padded 50 sheets to a pad and drilled.
INSERT INTO ORDERS (ORDERNO, PARTNO, QUOTEORJOB, DESCRIPTION, ACCTNAME, PHONE, DUEDATE,
    STOCKID, STOCKDESC, STOCKPARENTSIZE, STOCKCALIPER, STOCKWT1000, STOCKPARTS, STOCKPRESSEFFPERC,
    STOCKUSEPRESSEFF, STOCKIND1, STOCKIND2, STOCKIND3, STOCK1000CTN, STOCKCOST1, STOCKCOST2, STOCKCOST3,
    STOCKUSEDOLLARMARKUP, STOCKDOLLAREFF, STOCKDOLLARKFACTOR, STOCKQTYEFF, STOCKQTYKFACTOR,
    PRESSID, PRESSNAME, PRESSTYPE, PRESSSIDES, PRESSQTY, PRESSQTY2, PRESSQTY3, PRESSQTY4,
    PRESSFINISHEDSIZE, PRESSBLEEDSIZE, PRESSSIZE, PRESSNUMUPPRESSSHT, PRESSNUMUPPARENTSHT,
    PRESSDIFFFRMPRESSSHT, PRODUCTIONTYPE, PRESSSIGNATURES, PRESSPAGES, PRESSPLATEID, PRESSPLATES,
    PRESSPASSES, PRESSPRINTHEADS, PRESSSPEC, PRESSDIFFICULTY, PRESSSPEEDEFF, PRESSSPEEDKFACTOR,
    PRESSSPOILEFF, PRESSSPOILKFACTOR, PRESSSPOILCUSTOM,
    PPTYPESETVALUE, PPTYPESETVALUETYPE, PPTYPESETMINUTES, PPDESIGNVALUE, PPDESIGNVALUETYPE, PPDESIGNMINUTES,
    PPPASTEUPVALUE, PPPASTEUPVALUETYPE, PPPASTEUPMINUTES, PPPREFLIGHTVALUE, PPPREFLIGHTVALUETYPE,
    PPPREFLIGHTMINUTES, PPMATCHPRINTVALUE, PPMATCHPRINTVALUETYPE, PPMATCHPRINTMINUTES, PRINTPRICING)
VALUES ('24107', 1, 'J', 'Scratch pads 50 sheets, 1 colour PMS 348', 'Green Valley Credit Union',
    '(503) 555-0134', '2027-01-19',
    10, '20# White Bond', '17 X 22', 0.0038, 40, 1, 100,
    0, 0, 1, 4, 2.5, 52.00, 47.00, 42.50,
    0, 20, 5, 20, 5,
    1, 'Small Offset 11x17 1-Colour', 0, 1, 5000, 0, 0, 0,
    '5.5 X 8.5', '', '8.5 X 11', 2, 4,
    1, 0, 1, 1, 1, 1,
    1, 1, 0, 5, 20, 5,
    20, 20, 0,
    0, 0, 0, 0, 0, 0,
    0, 0, 0, 0, 0,
    0, 0, 0, 0, 0);

-- Inks of each order part. Process and stock colours name their COLORS row; matched colours name the
-- mixing base in COLORID and the PMS colour in PMSID and PMSNO. Coverage in per cent.
INSERT INTO INKSELECTIONS (ORDERNO, PARTNO, QUOTEORJOB, COLORID, INKCOLOR, PMSID, PMSNO, COVERAGE) VALUES
    ('24101', 1, 'Q', 7, 'PMS 286', 2, '286', 8),
    ('24102', 1, 'Q', 2, 'Cyan', NULL, NULL, 35),
    ('24102', 1, 'Q', 3, 'Magenta', NULL, NULL, 30),
    ('24102', 1, 'Q', 4, 'Yellow', NULL, NULL, 30),
    ('24102', 1, 'Q', 1, 'Black', NULL, NULL, 25),
    ('24102', 1, 'Q', 2, 'Cyan', NULL, NULL, 25),
    ('24102', 1, 'Q', 3, 'Magenta', NULL, NULL, 20),
    ('24102', 1, 'Q', 4, 'Yellow', NULL, NULL, 20),
    ('24102', 1, 'Q', 1, 'Black', NULL, NULL, 30),
    ('24103', 1, 'J', 1, 'Black', NULL, NULL, 12),
    ('24104', 1, 'J', 1, 'Black', NULL, NULL, 18),
    ('24104', 1, 'J', 7, 'PMS 186', 1, '186', 6),
    ('24104', 1, 'J', 1, 'Black', NULL, NULL, 18),
    ('24104', 1, 'J', 7, 'PMS 186', 1, '186', 6),
    ('O''NEIL-01', 1, 'Q', 5, 'Reflex Blue', NULL, NULL, 40),
    ('O''NEIL-01', 1, 'Q', 8, 'PMS 877', 4, '877', 10),
    ('24105', 1, 'J', 2, 'Cyan', NULL, NULL, 20),
    ('24105', 1, 'J', 3, 'Magenta', NULL, NULL, 20),
    ('24105', 1, 'J', 4, 'Yellow', NULL, NULL, 15),
    ('24105', 1, 'J', 1, 'Black', NULL, NULL, 25),
    ('24107', 1, 'J', 7, 'PMS 348', 3, '348', 5);

-- Bindery operations of each order part, in the order they are done. SHEETSIZE: 0 finished size,
-- 1 bleed size, 2 press sheet, 3 parent sheet. RUNS are extra runs (0 = one run); SETUPS is the
-- set-up count, the sheets or sets per pad for padding, the pockets for the stitcher.
INSERT INTO BINDERYSELECTIONS (BINDERYSELECTIONID, ORDERNO, PARTNO, QUOTEORJOB, BINDERYID, BINDERY, SHEETSIZE,
                               DIFFICULTY, RUNS, SETUPS, PCTOFRUN, SPEEDEFFICIENCY, SPEEDKFACTOR,
                               SPOILEFFICIENCY, SPOILKFACTOR) VALUES
    (1, '24101', 1, 'Q', 1, 'Guillotine Cutting', 3, 5, 0, 1, 100, 20, 5, 20, 20),
    (2, '24102', 1, 'Q', 1, 'Guillotine Cutting', 2, 5, 0, 1, 100, 20, 5, 20, 20),
    (3, '24102', 1, 'Q', 3, 'Tri-Fold Folder', 0, 6, 0, 1, 100, 20, 5, 20, 20),
    (4, '24102', 1, 'Q', 13, '40 lb Carton Pack-Out', 0, 5, 0, 1, 100, 20, 5, 20, 20),
    (5, '24103', 1, 'J', 1, 'Guillotine Cutting', 3, 5, 0, 1, 100, 20, 5, 20, 20),
    (6, '24103', 1, 'J', 11, 'Collator 10-Bin', 0, 5, 0, 1, 100, 20, 5, 20, 20),
    (7, '24103', 1, 'J', 6, 'Carbonless Fan-Apart Padding', 0, 5, 0, 50, 100, 0, 0, 0, 0),
    (8, '24104', 1, 'J', 4, 'Signature Folder', 2, 5, 0, 1, 100, 20, 5, 20, 20),
    (9, '24104', 1, 'J', 8, 'Saddle Stitcher 4-Pocket', 0, 5, 0, 2, 100, 20, 5, 20, 20),
    (10, '24104', 1, 'J', 14, 'Booklet 3-Knife Trim', 0, 5, 0, 1, 100, 20, 5, 20, 20),
    (11, '24104', 1, 'J', 12, '50 lb Carton Local Delivery', 0, 5, 0, 1, 100, 20, 5, 20, 20),
    (12, 'O''NEIL-01', 1, 'Q', 10, 'Foil Stamping', 0, 7, 0, 1, 100, 20, 5, 20, 20),
    (13, '24105', 1, 'J', 2, 'Programmed Auto Trim', 2, 5, 0, 1, 100, 20, 5, 20, 20),
    (14, '24105', 1, 'J', 9, 'Shrink Wrap Tunnel', 0, 5, 0, 1, 100, 20, 5, 20, 20),
    (15, '24107', 1, 'J', 1, 'Guillotine Cutting', 3, 5, 0, 1, 100, 20, 5, 20, 20),
    (16, '24107', 1, 'J', 5, 'Padding (Glue)', 0, 5, 0, 50, 100, 20, 5, 20, 20),
    (17, '24107', 1, 'J', 7, '3-Hole Drill', 0, 5, 0, 1, 100, 20, 5, 20, 20);

-- Outside services bought for an order part: a cost per quantity level and the service's own markup.
INSERT INTO VENDORSELECTIONS (ORDERNO, PARTNO, QUOTEORJOB, VENDORNAME, DESCRIPTION, COST, COST2, COST3, COST4,
                              MARKUP) VALUES
    ('O''NEIL-01', 1, 'Q', 'Precision Die Cutting Co.', 'Die-cut, score and glue pockets', 185.00, 260.00,
        390.00, 610.00, 25),
    ('O''NEIL-01', 1, 'Q', 'Precision Die Cutting Co.', 'Pocket folder cutting die', 145.00, 145.00, 145.00,
        145.00, 0),
    ('24106', 1, 'Q', 'Northwest Gang Print', 'Postcards 6 x 4.25, 4/4 on 14pt, trimmed', 420.00, 610.00,
        980.00, 1450.00, 35),
    ('24106', 1, 'Q', 'Metro Mail House', 'Address, presort and deliver to post office', 275.00, 400.00,
        650.00, 950.00, 15),
    ('24106', 1, 'Q', 'Postage', 'Presorted standard postage at cost', 1425.00, 2850.00, 5700.00, 11400.00, 0);

-- Camera work: halftones and line negatives for the newsletter.
INSERT INTO CAMERASELECTIONS (ORDERNO, PARTNO, QUOTEORJOB, CAMERATYPEID, CAMERATYPE, CAMERASIZEID, CAMERASIZE,
                              QTY) VALUES
    ('24104', 1, 'J', 2, 'Halftone', 4, '4 X 5', 4),
    ('24104', 1, 'J', 1, 'Line Negative', 1, '8 X 10', 2);

-- Scans: product photographs for the brochure.
INSERT INTO SCANSELECTIONS (ORDERNO, PARTNO, QUOTEORJOB, SCANTYPEID, SCANTYPE, SCANSIZEID, SCANSIZE, QTY) VALUES
    ('24102', 1, 'Q', 1, 'Color Scan', 1, '4 X 5', 3),
    ('24102', 1, 'Q', 3, 'Drum Scan', 4, '4 X 5', 1);
