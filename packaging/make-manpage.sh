#!/usr/bin/env bash
# Writes the manual page pricebook.1 from the program's own help texts, so that it names every command,
# option and exit code the program has. Usage: packaging/make-manpage.sh PRICEBOOK OUTPUT
set -euo pipefail
program=$1
output=$2

# Help text as it prints, kept as it is in the page: backslashes and leading dots or quotes made literal.
literal() { sed -e 's/\\/\\e/g' -e "s/^\\([.']\\)/\\\\\\&\\1/"; }

version=$("$program" --version | awk '{ print $2 }')
commands=$("$program" --help | awk '/^Without a command/ { on = 1; next } /^"pricebook COMMAND/ { on = 0 } on && /^  [a-z]/ { print $1 }')

{
    echo ".TH PRICEBOOK 1 \"\" \"pricebook $version\" \"User Commands\""
    echo ".SH NAME"
    echo "pricebook \\- Counter Price Book generator for print shops"
    echo ".SH SYNOPSIS"
    echo ".B pricebook"
    echo "[\\-\\-program\\-dir DIR] [COMMAND [ARGS...]]"
    echo ".SH DESCRIPTION"
    echo "Without a command, pricebook opens the price list window: choose a quote or job of the shop"
    echo "database, set the quantity schedule and rounding, create the price list and print the Counter"
    echo "Price Book sheet. The commands below do the same without a window."
    echo ".PP"
    echo ".nf"
    "$program" --help | literal
    echo ".fi"
    echo ".SH COMMANDS"
    for command in $commands; do
        echo ".SS $command"
        echo ".nf"
        "$program" "$command" --help | literal
        echo ".fi"
    done
    echo ".SH FILES"
    echo ".TP"
    echo ".I DATAFOLDER/vmdata.mdb"
    echo "the shop database (or DATAFOLDER/vmdata.pg, the connection to a shop database server)"
    echo ".TP"
    echo ".I DATAFOLDER/Categories.dat, DATAFOLDER/PriceData.dta, DATAFOLDER/PriceBook.dat"
    echo "the categories, the window's last parameters and the pages of the Counter Price Book"
    echo ".TP"
    echo ".I ~/.local/share/Velmora/PriceCatalogs/"
    echo "the program folder of an installed program: the marker file naming the data folder and the report"
    echo "work database"
    echo ".TP"
    echo ".I /usr/share/pricebook/demo/"
    echo "the demo shop's database as SQL (\\fBpricebook demo-data\\fR builds a data folder from the same)"
} >"$output.tmp"
mv "$output.tmp" "$output"
