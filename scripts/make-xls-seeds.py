#!/usr/bin/python3
"""Writes the small .xls workbooks of the .xls fuzzer's seed corpus (needs python3-xlwt).

Each one exercises a different kind of record the reader meets: numbers, texts with umlauts,
dates and times, several sheets, an empty sheet, formulas, wide and sparse rows.
"""
import datetime
import os
import sys

import xlwt

out = sys.argv[1] if len(sys.argv) > 1 else "fuzz/corpus/xls_reader_fuzz"
os.makedirs(out, exist_ok=True)
date_style = xlwt.easyxf(num_format_str="DD.MM.YYYY")
time_style = xlwt.easyxf(num_format_str="hh:mm:ss")


def save(name, fill):
    book = xlwt.Workbook(encoding="utf-8")
    fill(book)
    book.save(os.path.join(out, name))


def members(book):
    sheet = book.add_sheet("Mitglieder")
    rows = [("Mitglied", "IBAN", "Beitrag"),
            ("Albers, Karin", "DE12123056001000123401", 120.0),
            ("Große, Björn", "DE49503201002200456701", 25.5)]
    for r, row in enumerate(rows):
        for c, value in enumerate(row):
            sheet.write(r, c, value)


def dates(book):
    sheet = book.add_sheet("Daten")
    sheet.write(0, 0, datetime.date(2020, 4, 20), date_style)
    sheet.write(0, 1, datetime.datetime(2026, 3, 16, 9, 30), date_style)
    sheet.write(1, 0, datetime.time(12, 15, 30), time_style)
    sheet.write(1, 1, -1)
    sheet.write(2, 0, 1e300)


def sheets(book):
    for name in ("Eins", "Zwei", "Leer"):
        sheet = book.add_sheet(name)
        if name != "Leer":
            sheet.write(0, 0, name)
            sheet.write(3, 7, 7)


def formulas(book):
    sheet = book.add_sheet("Formeln")
    sheet.write(0, 0, 2)
    sheet.write(0, 1, 3)
    sheet.write(0, 2, xlwt.Formula("A1*B1"))
    sheet.write(1, 0, True)
    sheet.write(1, 1, "x" * 300)


def sparse(book):
    sheet = book.add_sheet("Lücken")
    sheet.write(0, 255, "rechts")
    sheet.write(500, 0, "unten")
    for r in range(40):
        sheet.write(r + 1, r % 5, r * 1.25)


for name, fill in [("mitglieder.xls", members), ("daten.xls", dates), ("blaetter.xls", sheets),
                   ("formeln.xls", formulas), ("luecken.xls", sparse)]:
    save(name, fill)
