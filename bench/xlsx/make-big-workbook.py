#!/usr/bin/python3
# Writes a workbook of CELLS formula cells for the reader's bench, part by
# part as Excel saves one: rows of two numbers and two formulas calling
# adder.xll's Add, the second column a shared formula, with the values Excel
# would have saved, a shared string per hundred rows, and every cell styled
# (a font and a number format, no date), as the cells of workbooks people
# keep are.
# make-big-workbook.py CELLS OUT.xlsx
import sys
import zipfile

MAIN = "http://schemas.openxmlformats.org/spreadsheetml/2006/main"
REL = "http://schemas.openxmlformats.org/officeDocument/2006/relationships"
PKG = "http://schemas.openxmlformats.org/package/2006/relationships"


def sheet(rows):
    yield f'<?xml version="1.0" encoding="UTF-8"?><worksheet xmlns="{MAIN}"><sheetData>'
    for r in range(1, rows + 1):
        a, b = r, r % 7
        shared = '<f t="shared" ref="D1:D%d" si="0">_xll.Add(C1,A1)</f>' % rows if r == 1 else '<f t="shared" si="0"/>'
        label = f'<c r="E{r}" t="s"><v>{r // 100}</v></c>' if r % 100 == 0 else ""
        yield (f'<row r="{r}"><c r="A{r}" s="1"><v>{a}</v></c><c r="B{r}" s="1"><v>{b}</v></c>'
               f'<c r="C{r}" s="2"><f>_xll.Add(A{r},B{r})</f><v>{a + b}</v></c>'
               f'<c r="D{r}" s="2">{shared}<v>{2 * a + b}</v></c>{label}</row>')
    yield '</sheetData></worksheet>'


def main(cells, out):
    rows = cells // 2
    with zipfile.ZipFile(out, "w", zipfile.ZIP_DEFLATED) as z:
        kind = "application/vnd.openxmlformats-officedocument.spreadsheetml."
        z.writestr("[Content_Types].xml", '<?xml version="1.0" encoding="UTF-8"?><Types '
                   'xmlns="http://schemas.openxmlformats.org/package/2006/content-types"><Default Extension="rels" '
                   'ContentType="application/vnd.openxmlformats-package.relationships+xml"/><Default Extension="xml" '
                   f'ContentType="application/xml"/><Override PartName="/xl/workbook.xml" ContentType="{kind}sheet.main+xml"/>'
                   f'<Override PartName="/xl/worksheets/sheet1.xml" ContentType="{kind}worksheet+xml"/>'
                   f'<Override PartName="/xl/sharedStrings.xml" ContentType="{kind}sharedStrings+xml"/>'
                   f'<Override PartName="/xl/styles.xml" ContentType="{kind}styles+xml"/></Types>')
        z.writestr("_rels/.rels", f'<Relationships xmlns="{PKG}"><Relationship Id="rId1" '
                   f'Type="{REL}/officeDocument" Target="xl/workbook.xml"/></Relationships>')
        z.writestr("xl/_rels/workbook.xml.rels", f'<Relationships xmlns="{PKG}"><Relationship Id="rId1" '
                   f'Type="{REL}/worksheet" Target="worksheets/sheet1.xml"/><Relationship Id="rId2" '
                   f'Type="{REL}/sharedStrings" Target="sharedStrings.xml"/><Relationship Id="rId3" '
                   f'Type="{REL}/styles" Target="styles.xml"/></Relationships>')
        z.writestr("xl/workbook.xml", f'<workbook xmlns="{MAIN}" xmlns:r="{REL}"><sheets><sheet name="Data" '
                   'sheetId="1" r:id="rId1"/></sheets></workbook>')
        z.writestr("xl/styles.xml", f'<styleSheet xmlns="{MAIN}"><numFmts count="1"><numFmt numFmtId="164" '
                   'formatCode="#,##0.000"/></numFmts><fonts count="2"><font><sz val="11"/><name val="Calibri"/></font>'
                   '<font><b/><sz val="11"/><name val="Calibri"/></font></fonts><fills count="1"><fill><patternFill '
                   'patternType="none"/></fill></fills><borders count="1"><border/></borders><cellStyleXfs count="1">'
                   '<xf numFmtId="0" fontId="0" fillId="0" borderId="0"/></cellStyleXfs><cellXfs count="3"><xf numFmtId="0" '
                   'fontId="0" fillId="0" borderId="0" xfId="0"/><xf numFmtId="164" fontId="0" fillId="0" borderId="0" '
                   'xfId="0" applyNumberFormat="1"/><xf numFmtId="4" fontId="1" fillId="0" borderId="0" xfId="0" '
                   'applyNumberFormat="1" applyFont="1"/></cellXfs></styleSheet>')
        labels = rows // 100 + 1
        z.writestr("xl/sharedStrings.xml", f'<sst xmlns="{MAIN}">'
                   + "".join(f"<si><t>label {n}</t></si>" for n in range(labels)) + "</sst>")
        with z.open("xl/worksheets/sheet1.xml", "w") as part:
            for piece in sheet(rows):
                part.write(piece.encode())


main(int(sys.argv[1]), sys.argv[2])
