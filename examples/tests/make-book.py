#!/usr/bin/env python3
"""Writes Loans.xlsx, a workbook as Excel saves one with Loans.xll loaded:
make-book.py OUT.xlsx. Each formula's saved value is worked out here, apart
from the add-in's code, so the workbook test checks the add-in against an
independent answer. Python's standard library only."""
import sys
import zipfile

MAIN = "http://schemas.openxmlformats.org/spreadsheetml/2006/main"
REL = "http://schemas.openxmlformats.org/officeDocument/2006/relationships"
PKG = "http://schemas.openxmlformats.org/package/2006/relationships"


def payment(rate, periods, principal):
    return principal / periods if rate == 0 else principal * rate / (1 - (1 + rate) ** -periods)


def future_value(rate, periods, each):
    return each * periods if rate == 0 else each * ((1 + rate) ** periods - 1) / rate


def band(rate):
    return "low" if rate < 0.03 else "medium" if rate < 0.08 else "high"


def number(ref, value):
    return f'<c r="{ref}"><v>{value!r}</v></c>'


def formula(ref, text, value):
    kind = ' t="str"' if isinstance(value, str) else ""
    return f'<c r="{ref}"{kind}><f>{text}</f><v>{value if kind else repr(value)}</v></c>'


def main(out):
    # Loans in rows 2-4: rate, periods, principal, then the add-in's answers.
    loans = [(0.01, 12, 1200.0), (0.05, 360, 250000.0), (0.0, 24, 4800.0)]
    rows = {}
    for i, (rate, periods, principal) in enumerate(loans):
        r = i + 2
        rows[r] = [number(f"A{r}", rate), number(f"B{r}", periods), number(f"C{r}", principal),
                   formula(f"D{r}", f"_xll.LoanPayment(A{r},B{r},C{r})", payment(rate, periods, principal)),
                   formula(f"E{r}", f"_xll.FutureValue(A{r},B{r},100)", future_value(rate, periods, 100.0)),
                   formula(f"F{r}", f"_xll.RiskBand(A{r})", band(rate))]
    # The payments' running total, an array formula over G2:G4.
    total = 0.0
    for i, (rate, periods, principal) in enumerate(loans):
        r = i + 2
        total += payment(rate, periods, principal)
        array = f'<f t="array" ref="G2:G4">_xll.RunningTotal(D2:D4)</f>' if r == 2 else ""
        rows[r].append(f'<c r="G{r}">{array}<v>{total!r}</v></c>')
    sheet = "".join(f'<row r="{r}">{"".join(cells)}</row>' for r, cells in sorted(rows.items()))

    with zipfile.ZipFile(out, "w", zipfile.ZIP_DEFLATED) as z:
        z.writestr("[Content_Types].xml",
                   '<?xml version="1.0" encoding="UTF-8" standalone="yes"?>'
                   '<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">'
                   '<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>'
                   '<Default Extension="xml" ContentType="application/xml"/>'
                   '<Override PartName="/xl/workbook.xml" ContentType="application/'
                   'vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml"/>'
                   '<Override PartName="/xl/worksheets/sheet1.xml" ContentType="application/'
                   'vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml"/></Types>')
        z.writestr("_rels/.rels", f'<?xml version="1.0" encoding="UTF-8"?><Relationships xmlns="{PKG}">'
                   f'<Relationship Id="rId1" Type="{REL}/officeDocument" Target="xl/workbook.xml"/></Relationships>')
        z.writestr("xl/_rels/workbook.xml.rels", f'<?xml version="1.0" encoding="UTF-8"?><Relationships xmlns="{PKG}">'
                   f'<Relationship Id="rId1" Type="{REL}/worksheet" Target="worksheets/sheet1.xml"/></Relationships>')
        z.writestr("xl/workbook.xml", f'<?xml version="1.0" encoding="UTF-8"?><workbook xmlns="{MAIN}" '
                   f'xmlns:r="{REL}"><sheets><sheet name="Loans" sheetId="1" r:id="rId1"/></sheets></workbook>')
        z.writestr("xl/worksheets/sheet1.xml", f'<?xml version="1.0" encoding="UTF-8"?><worksheet xmlns="{MAIN}">'
                   f'<sheetData>{sheet}</sheetData></worksheet>')


if __name__ == "__main__":
    main(sys.argv[1])
