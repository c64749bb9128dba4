#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "data/Recordset.h"
#include "estimator/cEstimator.h"
#include "estimator/modEstimator.h"
#include "platform/Conversions.h"
#include "platform/Fault.h"
#include "platform/Statement.h"

namespace estimator {

namespace {

// The bindery estimate's rule for faults. Until the first operation has been counted a fault ends the
// estimate and reaches the pricing run, as everywhere else in the engine. From then on a failing
// statement is passed over and the next one runs, so one bad figure on a later operation cannot lose the
// operations already costed. Every statement of the estimate goes through this, one per rule, so the
// granularity can be read off the code.
class BinderyStatements
{
public:
    void skipFailingFromHereOn() noexcept { m_skipFailing = true; }

    template <class Statement>
    void operator()(Statement&& statement)
    {
        if (m_skipFailing)
            platform::resumeNext(std::forward<Statement>(statement));
        else
            std::forward<Statement>(statement)();
    }

private:
    bool m_skipFailing = false;
};

bool flag(const data::Recordset& record, std::string_view column)
{
    return record.field(column).toBoolean();
}

// An id column written into an SQL text. A Null id reads as 0, which names no row.
std::string idText(const data::Recordset& record, std::string_view column)
{
    return std::to_string(platform::toInt32(record.field(column).number()));
}

// 93.5 square inches: the 8.5 by 11 sheet that pad charges are quoted for.
constexpr double kLetterSheetArea = 93.5;
constexpr double kReferenceCaliper = 0.004;

} // namespace

// Prices the bindery department of the order part at the current quantity: every bindery operation of
// the order in BINDERYSELECTIONID order, costed by CalcModule, with the department's own padding,
// packaging, foil and minimum-charge rules on top. Reported operations get a row; the rows add up to the
// quantity's totals, which the press estimate and the job totals read. Returns the bindery cost, or 0
// (results untouched) when the order has no bindery operations.
double cEstimator::EstimateBindery(BinderyRowTable& rows, BinderyTotalsTable& totals)
{
    using platform::divide;
    using platform::intFloor;
    using platform::toInt16;
    using platform::toInt32;

    const auto quantitySlot = static_cast<std::size_t>(m_currentQuantity);
    if (m_currentQuantity < 1 || m_currentQuantity > 4)
        platform::raise(platform::fault::SubscriptOutOfRange);

    BinderyStatements statement;

    // 1. Order variables.
    CheckVariables();

    // 2. Bindery markup, per cent.
    double markup = 0;
    {
        data::Recordset markups = m_db.openRecordset("SELECT MARKUP FROM MARKUPS WHERE DEPARTMENT LIKE 'Bindery*'");
        if (markups.recordCount() > 0)
            markup = markups.field(0).number();
        markups.close();
    }
    const auto retailOf = [&markup](double cost) { return (markup / 100 + 1) * cost; };

    // 3. The order's bindery operations.
    data::Recordset selections = m_db.openRecordset("SELECT * FROM BINDERYSELECTIONS WHERE " + keyClause() +
                                                    " ORDER BY BINDERYSELECTIONID");
    if (selections.recordCount() == 0) {
        selections.close();
        return 0;
    }

    std::int16_t n = 0; // counted operations
    // Both flags carry over from one operation to the next: an operation of a signature bindery does not
    // look at its category and is treated like the operation before it (plain for the first), so
    // estimates made before keep their figures.
    bool padding = false;
    bool autoCut = false;
    double savedSignatures = 0;
    double padCount = 0;
    data::Recordset bindery;

    const auto row = [&]() -> BinderyReportRow& {
        std::vector<BinderyReportRow>& quantityRows = m_context.binderyRows[quantitySlot];
        if (n < 1 || static_cast<std::size_t>(n) >= quantityRows.size())
            platform::raise(platform::fault::SubscriptOutOfRange);
        return quantityRows[static_cast<std::size_t>(n)];
    };

    // 5. An operation's report row, then its share of the quantity's totals. A statement that fails (a
    // bindery without an hourly rate has no minutes) leaves its field as it was and the row is still
    // written and totalled.
    const auto writeRowAndTotal = [&] {
        statement([&] { row().description = platform::upperCase(bindery.field("BINDERYNAME").formatted()); });
        statement([&] { row().setups = toInt16(m_setups); });
        statement([&] { row().sheetSizeCode = m_opSheetSizeCode; });
        statement([&] { row().runs = toInt16(m_runs); });
        statement([&] { row().percentOfRun = toInt16(m_binderyWork[0] * 100); });
        statement([&] { row().difficulty = m_bindDifficulty; });
        statement([&] { row().setupMinutes = divide(m_binderyWork[5] * 60, m_costPerHour); });
        statement([&] {
            row().runMinutes =
                divide(m_operationCost * 60, m_costPerHour) - divide(m_binderyWork[5] * 60, m_costPerHour);
        });
        statement([&] { row().totalMinutes = divide(m_operationCost * 60, m_costPerHour); });
        statement([&] { row().setupTimeText = ConvertMinutes(row().setupMinutes); });
        statement([&] { row().runTimeText = ConvertMinutes(row().runMinutes); });
        statement([&] { row().totalTimeText = ConvertMinutes(row().totalMinutes); });
        statement([&] { row().waste = toInt32(m_wasteUnits); });
        statement([&] { row().spoilagePercent = m_bindSpoilagePercent; });
        statement([&] { row().averageSpoilagePercent = 0; });
        statement([&] { row().cost = m_operationCost; });
        statement([&] { row().retail = retailOf(m_operationCost); });

        BinderyReportRow& total = m_context.binderyTotals[quantitySlot];
        statement([&] { total.setupMinutes = total.setupMinutes + row().setupMinutes; });
        statement([&] { total.runMinutes = total.runMinutes + row().runMinutes; });
        statement([&] { total.totalMinutes = total.totalMinutes + row().totalMinutes; });
        statement([&] { total.waste = platform::add32(total.waste, row().waste); });
        statement([&] { total.spoilagePercent = total.spoilagePercent + row().spoilagePercent; });
        statement([&] { total.cost = total.cost + row().cost; });
        statement([&] { total.retail = total.retail + row().retail; });
    };

    // 4. Each operation in turn.
    while (!selections.eof()) {
        // 4.1 Its bindery. One that cannot be read is passed over like one that is missing.
        bindery = data::Recordset{};
        statement([&] {
            // The selection's bindery id as a plain value: Null or a stray text is a fault, not an id 0
            // that names no bindery and drops the operation from the price without a word.
            bindery = m_db.openRecordset("SELECT * FROM BINDERIES WHERE BINDERYID = " +
                                         std::to_string(toInt32(selections.field("BINDERYID").plainNumber())));
        });
        if (bindery.recordCount() == 0) {
            selections.moveNext();
            m_context.hooks.yieldEvents();
            continue;
        }

        // 4.2 Signatures afresh for every operation: a signature bindery below changes them.
        statement([&] {
            m_signatures = m_order.field("PRESSSIGNATURES").number();
            if (m_signatures == 0)
                m_signatures = 1;
        });

        bool signatureBindery = false;
        statement([&] { signatureBindery = flag(bindery, "SIGNATURESFLAG"); });
        if (signatureBindery) {
            // 4.3 Gathering, stitching and folding work once per printed piece, signature by signature:
            // cost one signature of the unmultiplied count, then count the waste of every signature.
            statement([&] { m_piecesToProduce = divide(m_piecesToProduce, m_parts * m_pressDiffFactor); });
            statement([&] { savedSignatures = m_signatures; });
            statement([&] { m_signatures = 1; });
            statement([&] {
                std::int32_t selectionId = toInt32(selections.field("BINDERYSELECTIONID").number());
                CalcModule(selectionId);
            });
            statement([&] { m_signatures = savedSignatures; });
            statement([&] { m_wasteUnits = m_wasteUnits * m_signatures; });
            statement([&] { m_piecesToProduce = m_piecesToProduce * m_parts; });
            // A difference factor outside 0 to the number up is not put back: the pieces stay divided by
            // it for the operations that follow.
            statement([&] {
                if (m_pressDiffFactor > 0 && m_pressDiffFactor <= m_numberUp)
                    m_piecesToProduce = m_piecesToProduce * m_pressDiffFactor;
            });
        } else {
            // 4.4 The category decides whether the operation is padding or an automatic cut. A category
            // without a name is neither.
            statement([&] {
                data::Recordset category = m_db.openRecordset("SELECT * FROM BINDERYCATEGORIES WHERE BINDERYCATEGORYID = " +
                                                              idText(bindery, "BINDERYCATEGORYID"));
                if (category.recordCount() == 0) {
                    autoCut = false;
                    padding = false;
                } else {
                    const std::string name = platform::upperCase(category.field("BINDERYCATEGORY").formatted());
                    autoCut = name == "AUTOCUT";
                    padding = name == "PADDING";
                }
                category.close();
            });
            statement([&] {
                std::int32_t selectionId = toInt32(selections.field("BINDERYSELECTIONID").number());
                CalcModule(selectionId);
            });
        }

        // 4.5 The operation counts; from here on a failing statement no longer ends the estimate.
        statement.skipFailingFromHereOn();
        statement([&] { n = toInt16(n + 1.0); });
        statement([&] {
            for (std::size_t slot = 1; slot <= 4; ++slot) {
                if (m_context.binderyRows[slot].size() < static_cast<std::size_t>(n) + 1)
                    m_context.binderyRows[slot].resize(static_cast<std::size_t>(n) + 1);
            }
        });

        // 4.6 Padding: glue time by the pad edge area per set-up, then a charge per pad when the job
        // is padded in more than ten lots.
        if (padding && m_setups > 0) {
            statement([&] {
                if (m_bindSpeed > 0)
                    m_operationCost = divide(m_opSheetWidth * m_piecesToProduce * m_binderyWork[0] * m_signatures *
                                                 (m_bindSpoilagePercent / 100 + 1),
                                             m_bindSpeed * m_binderyWork[2]);
            });
            statement([&] {
                m_operationCost = (m_runs + 1) * m_operationCost * m_costPerHour * kReferenceCaliper + m_binderyWork[7];
            });
            statement([&] {
                if (!flag(bindery, "THICKNESSFLAG"))
                    m_operationCost = m_binderyWork[7] * divide(m_operationCost - m_binderyWork[7],
                                                                m_setups * 1000 * m_stockCaliper);
            });
            if (m_setups > 10) {
                statement([&] {
                    padCount = divide(m_piecesToProduce * m_binderyWork[0] * m_signatures, m_binderyWork[2] * m_setups);
                });
                // Fixed chip padding is charged per pad whatever its size. The padding step runs only for
                // the PADDING category, so this holds only for a signature bindery of that category that
                // follows a padding operation; every other padding job pays by the pad area.
                bool fixedChip = false;
                statement([&] {
                    data::Recordset chip = m_db.openRecordset(
                        "SELECT IIf(UCase(BINDERYCATEGORIES.BINDERYCATEGORY)=" + Quotes("FIXED CHIP PADDING") +
                        ",True,False) AS IsFixedChipPadding " +
                        "FROM BINDERIES INNER JOIN BINDERYCATEGORIES ON BINDERIES.BINDERYCATEGORYID = "
                        "BINDERYCATEGORIES.BINDERYCATEGORYID " +
                        "WHERE BINDERIES.BINDERYID=" + idText(bindery, "BINDERYID") + ";");
                    if (chip.recordCount() > 0)
                        fixedChip = chip.field(0).toBoolean();
                    chip.close();
                });
                statement([&] {
                    if (fixedChip)
                        m_operationCost =
                            m_operationCost + padCount * (m_addlSetupMinutes * m_costPerHour / 60 + m_addlRunTime);
                    else
                        m_operationCost =
                            m_operationCost + padCount * (m_opSheetWidth * m_addlRunTime * m_opSheetLength / kLetterSheetArea +
                                                          m_addlSetupMinutes * m_costPerHour / 60);
                });
            }
            writeRowAndTotal();
        }

        // 4.7 Packaging: cartons (or bundles) of a package size, so many per hour.
        bool packaging = false;
        statement([&] { packaging = flag(bindery, "PACKAGINGFILEFLAG") && m_setups > 0; });
        if (packaging) {
            bool thickness = false;
            statement([&] { thickness = flag(bindery, "THICKNESSFLAG"); });
            statement([&] {
                if (thickness)
                    m_bindSpeed = toInt32(m_bindSpeed * m_stockCaliper / kReferenceCaliper);
            });
            // The package size: the set-ups when more than one is entered, else the bindery's pieces per
            // package, fewer of thick stock, and for books counted in leaves.
            if (m_setups > 1) {
                statement([&] { m_binderyWork[9] = m_setups; });
            } else {
                statement([&] { m_binderyWork[9] = platform::val(bindery.field("ADDLRUNTIME").formatted()); });
                statement([&] {
                    if (thickness)
                        m_binderyWork[9] = divide(m_binderyWork[9] * kReferenceCaliper, m_stockCaliper);
                });
                bool pages = false;
                statement([&] { pages = flag(bindery, "PAGESFLAG"); });
                if (pages) {
                    statement([&] { m_binderyWork[2] = m_pressPages / 2.0; });
                    statement([&] {
                        if (m_binderyWork[2] != 0)
                            m_binderyWork[9] = divide(m_binderyWork[9], m_binderyWork[2]);
                    });
                }
            }
            statement([&] {
                if (m_bindSpeed > 0) {
                    if (m_productionType == 1)
                        m_operationCost =
                            intFloor(divide(m_piecesToProduce * m_binderyWork[0], m_binderyWork[9]) + 0.8) / m_bindSpeed;
                    else
                        m_operationCost = intFloor(divide(m_piecesToProduce * m_binderyWork[0] * m_signatures,
                                                          m_binderyWork[9] * m_binderyWork[2]) +
                                                   0.8) /
                                          m_bindSpeed;
                }
            });
            statement([&] {
                m_operationCost = ((m_runs + 1) * m_operationCost + m_setupMinutes / 60) * m_costPerHour;
            });
            writeRowAndTotal();
        }

        // 4.8 Foil: the die area stamped on every piece of the share of the run the selection names.
        statement([&] {
            if (flag(bindery, "FOILFLAG") && m_setups > 0)
                m_operationCost = m_opSheetWidth * m_piecesToProduce * m_setups * m_savedRunFraction *
                                      m_addlSetupMinutes / 1000 +
                                  m_runCost;
        });

        // 4.9 The bindery's minimum charge. Padding and packaging rows were totalled already: their row
        // shows the minimum, their totals keep the figure worked out.
        if (m_operationCost < m_minimumCost) {
            statement([&] { m_operationCost = m_minimumCost; });
            statement([&] { row().cost = m_minimumCost; });
            statement([&] { row().retail = retailOf(m_minimumCost); });
        }

        // 4.10 Every other operation with a set-up is reported as costed. Automatic cuts are part of the
        // press sheet handling and get no row of their own.
        bool plain = false;
        statement([&] { plain = !padding && !autoCut && !flag(bindery, "PACKAGINGFILEFLAG") && m_setups > 0; });
        if (plain)
            writeRowAndTotal();

        // 4.11 On to the next operation; the window may repaint meanwhile. Moving on is never skipped,
        // so the walk always ends.
        selections.moveNext();
        m_context.hooks.yieldEvents();
    }

    BinderyReportRow& total = m_context.binderyTotals[quantitySlot];

    // 6. Time texts of the totals and the average spoilage. Selections whose binderies are all gone
    // count no operation: that is no bindery work, not a division by zero.
    statement([&] { total.setupTimeText = ConvertMinutes(total.setupMinutes); });
    statement([&] { total.runTimeText = ConvertMinutes(total.runMinutes); });
    statement([&] { total.totalTimeText = ConvertMinutes(total.totalMinutes); });
    statement([&] { total.averageSpoilagePercent = n > 0 ? divide(total.spoilagePercent, n) : 0; });

    // 7. Results and the quantity's summary.
    statement([&] { summary().binderyHours = total.totalMinutes / 60; });
    statement([&] { summary().binderyHoursText = ConvertHours(summary().binderyHours); });
    statement([&] { m_results.ResBindCost = total.cost; });
    statement([&] { m_results.ResBindMinutes = total.totalMinutes; });
    statement([&] { m_results.ResBindRetail = total.retail; });
    statement([&] { summary().binderyCost = total.cost; });
    statement([&] { summary().binderyMarkup = platform::toSingle(markup / 100); });

    // 8. The caller's copies of this quantity's rows and totals.
    statement([&] {
        if (bindery.isOpen())
            bindery.close();
    });
    statement([&] { selections.close(); });
    statement([&] {
        for (std::size_t slot = 1; slot <= 4; ++slot)
            rows[slot].assign(static_cast<std::size_t>(n) + 1, BinderyReportRow{});
    });
    for (std::int16_t k = 1; k <= n; ++k) {
        statement([&] {
            const std::vector<BinderyReportRow>& from = m_context.binderyRows[quantitySlot];
            std::vector<BinderyReportRow>& to = rows[quantitySlot];
            const auto index = static_cast<std::size_t>(k);
            if (index >= from.size() || index >= to.size())
                platform::raise(platform::fault::SubscriptOutOfRange);
            to[index] = from[index];
        });
        m_context.hooks.yieldEvents();
    }
    statement([&] { totals[quantitySlot] = total; });

    // 9.
    return m_results.ResBindCost;
}

} // namespace estimator
