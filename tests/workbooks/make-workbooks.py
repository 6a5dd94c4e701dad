#!/usr/bin/python3
# Writes the workbooks the workbook tests read: make-workbooks.py OUTDIR.
# Each is written part by part, as Excel saves one, so that every feature
# the reader must handle is present with values known by construction: sheet
# ids that differ from the numbers of their parts, shared and inline strings,
# shared formulas, array formulas, a dynamic array, saved values of every
# type, names of the workbook and of a sheet, and the _xll. prefix.
import os
import sys
import zipfile

MAIN = "http://schemas.openxmlformats.org/spreadsheetml/2006/main"
REL = "http://schemas.openxmlformats.org/officeDocument/2006/relationships"
PKG = "http://schemas.openxmlformats.org/package/2006/relationships"


def xlsx(path, sheets, strings=(), names=(), metadata=False, dimension=None, links=()):
    """sheets: (name, sheetId, part number, cells XML), in the workbook's order;
    links: other workbooks, (file, sheet names, cells XML of each sheet's cached values)."""
    with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED) as z:
        overrides = "".join(
            f'<Override PartName="/xl/worksheets/sheet{part}.xml" ContentType="application/'
            f'vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml"/>' for _, _, part, _ in sheets)
        if metadata:
            overrides += ('<Override PartName="/xl/metadata.xml" ContentType="application/'
                          'vnd.openxmlformats-officedocument.spreadsheetml.sheetMetadata+xml"/>')
        overrides += "".join(f'<Override PartName="/xl/externalLinks/externalLink{n}.xml" ContentType="application/'
                             f'vnd.openxmlformats-officedocument.spreadsheetml.externalLink+xml"/>'
                             for n in range(1, len(links) + 1))
        z.writestr("[Content_Types].xml",
                   '<?xml version="1.0" encoding="UTF-8" standalone="yes"?>'
                   '<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">'
                   '<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>'
                   '<Default Extension="xml" ContentType="application/xml"/>'
                   '<Override PartName="/xl/workbook.xml" ContentType="application/'
                   'vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml"/>'
                   '<Override PartName="/xl/sharedStrings.xml" ContentType="application/'
                   'vnd.openxmlformats-officedocument.spreadsheetml.sharedStrings+xml"/>' + overrides + '</Types>')
        z.writestr("_rels/.rels", f'<?xml version="1.0" encoding="UTF-8"?><Relationships xmlns="{PKG}">'
                   f'<Relationship Id="rId1" Type="{REL}/officeDocument" Target="xl/workbook.xml"/></Relationships>')
        # The relationships list the parts in reverse, so that neither a sheet's id
        # nor its place in the workbook tells its part.
        rels = "".join(f'<Relationship Id="rId{part}" Type="{REL}/worksheet" Target="worksheets/sheet{part}.xml"/>'
                       for _, _, part, _ in reversed(sheets))
        rels += f'<Relationship Id="rIdS" Type="{REL}/sharedStrings" Target="sharedStrings.xml"/>'
        if metadata:
            rels += f'<Relationship Id="rIdM" Type="{REL}/sheetMetadata" Target="metadata.xml"/>'
        rels += "".join(f'<Relationship Id="rIdL{n}" Type="{REL}/externalLink" Target="externalLinks/externalLink{n}.xml"/>'
                        for n in range(1, len(links) + 1))
        z.writestr("xl/_rels/workbook.xml.rels", f'<?xml version="1.0" encoding="UTF-8"?><Relationships xmlns="{PKG}">'
                   + rels + '</Relationships>')
        sheet_list = "".join(f'<sheet name="{name}" sheetId="{sid}" r:id="rId{part}"/>' for name, sid, part, _ in sheets)
        name_list = "".join(f'<definedName name="{n}"{"" if scope is None else f" localSheetId={chr(34)}{scope}{chr(34)}"}>'
                            f'{text}</definedName>' for n, scope, text in names)
        z.writestr("xl/workbook.xml", f'<?xml version="1.0" encoding="UTF-8"?><workbook xmlns="{MAIN}" xmlns:r="{REL}">'
                   f'<sheets>{sheet_list}</sheets>'
                   + (f'<externalReferences>{"".join(f"<externalReference r:id={chr(34)}rIdL{n}{chr(34)}/>" for n in range(1, len(links) + 1))}'
                      '</externalReferences>' if links else '')
                   + (f'<definedNames>{name_list}</definedNames>' if names else '')
                   + '</workbook>')
        z.writestr("xl/sharedStrings.xml", f'<?xml version="1.0" encoding="UTF-8"?><sst xmlns="{MAIN}" '
                   f'count="{len(strings)}" uniqueCount="{len(strings)}">'
                   + "".join(f'<si><t xml:space="preserve">{s}</t></si>' for s in strings) + '</sst>')
        if metadata:
            z.writestr("xl/metadata.xml", f'<?xml version="1.0" encoding="UTF-8"?><metadata xmlns="{MAIN}" '
                       'xmlns:xda="http://schemas.microsoft.com/office/spreadsheetml/2017/dynamicarray">'
                       '<metadataTypes count="1"><metadataType name="XLDAPR" minSupportedVersion="120000" copy="1" '
                       'pasteAll="1" pasteValues="1" merge="1" splitFirst="1" rowColShift="1" clearFormats="1" '
                       'clearComments="1" assign="1" coerce="1" cellMeta="1"/></metadataTypes>'
                       '<futureMetadata name="XLDAPR" count="1"><bk><extLst><ext uri="{bdbb8cdc-fa1e-496e-a857-3c3f30c029c3}">'
                       '<xda:dynamicArrayProperties fDynamic="1" fCollapsed="0"/></ext></extLst></bk></futureMetadata>'
                       '<cellMetadata count="1"><bk><rc t="1" v="0"/></bk></cellMetadata></metadata>')
        for n, (target, sheet_names, cached) in enumerate(links, start=1):
            z.writestr(f"xl/externalLinks/_rels/externalLink{n}.xml.rels",
                       f'<?xml version="1.0" encoding="UTF-8"?><Relationships xmlns="{PKG}"><Relationship Id="rId1" '
                       f'Type="{REL}/externalLinkPath" Target="{target}" TargetMode="External"/></Relationships>')
            z.writestr(f"xl/externalLinks/externalLink{n}.xml",
                       f'<?xml version="1.0" encoding="UTF-8"?><externalLink xmlns="{MAIN}" xmlns:r="{REL}">'
                       '<externalBook r:id="rId1"><sheetNames>'
                       + "".join(f'<sheetName val="{name}"/>' for name in sheet_names) + '</sheetNames><sheetDataSet>'
                       + "".join(f'<sheetData sheetId="{i}">{rows_xml}</sheetData>' for i, rows_xml in enumerate(cached))
                       + '</sheetDataSet></externalBook></externalLink>')
        for _, _, part, cells in sheets:
            claimed = f'<dimension ref="{dimension}"/>' if dimension else ''
            z.writestr(f"xl/worksheets/sheet{part}.xml", f'<?xml version="1.0" encoding="UTF-8"?>'
                       f'<worksheet xmlns="{MAIN}">{claimed}<sheetData>{cells}</sheetData></worksheet>')


def rows(*cells):
    """Cells grouped into rows by the digits of their references."""
    by_row = {}
    for cell in cells:
        ref = cell.split('r="', 1)[1].split('"', 1)[0]
        by_row.setdefault(int("".join(ch for ch in ref if ch.isdigit())), []).append(cell)
    return "".join(f'<row r="{r}">{"".join(cs)}</row>' for r, cs in sorted(by_row.items()))


def main(out):
    os.makedirs(out, exist_ok=True)
    # Data: numbers, a shared string, an inline string; the Calc sheet calls
    # the references fixture. Every saved value is what the add-in answers.
    data = rows('<c r="A1"><v>2</v></c>', '<c r="B1"><v>3</v></c>', '<c r="A2"><v>4</v></c>', '<c r="B2"><v>5</v></c>',
                '<c r="C1" t="s"><v>0</v></c>', '<c r="C2" t="inlineStr"><is><t>inline</t></is></c>')
    calc = rows(
        '<c r="A1"><f>_xll.Add(Data!A1,Data!B1)</f><v>5</v></c>',
        # A shared formula: A2 and A3 are written only as its index.
        '<c r="A2"><f t="shared" ref="A2:A3" si="0">_xll.Add(Data!A1,Data!B2)</f><v>7</v></c>',
        '<c r="A3"><f t="shared" si="0"/><v>4</v></c>',
        '<c r="A4"><f>_xll.SumRef(Data!A1:B2)</f><v>14</v></c>',
        '<c r="A5" t="str"><f>_xll.Kind(Data!A1)</f><v>Ref</v></c>',
        '<c r="A6" t="str"><f>_xll.Kind(A1)</f><v>SRef</v></c>',
        '<c r="A7" t="str"><f>_xll.Where(Data!A1:B2)</f><v>[refs.xlsx]Data!$A$1:$B$2</v></c>',
        '<c r="A8" t="str"><f>_xll.SheetOf(Data!C1)</f><v>[refs.xlsx]Data</v></c>',
        '<c r="A9" t="str"><f>_xll.Caller()</f><v>[refs.xlsx]Calc!$A$9</v></c>',
        '<c r="A10"><f>_xll.Add(Rate,Local)</f><v>6</v></c>',
        '<c r="A11" t="str"><f>_xll.Keep(7)</f><v>obj:1</v></c>',
        '<c r="A12"><f>_xll.Fetch(A11)*2</f><v>14</v></c>',
        '<c r="A13" t="b"><f>_xll.Add(1,1)=2</f><v>1</v></c>',
        '<c r="A14" t="e"><f>_xll.Add(1,"x")</f><v>#VALUE!</v></c>',
        '<c r="A15"><f>SUM(A1:A3)+_xll.Add(ROUND(PI(),2),0)</f><v>19.14</v></c>',
        '<c r="A16"><f>A15*2</f><v>38.28</v></c>',
        '<c r="A17"><f>_xll.Count(Data!A1:B2)</f><v>4</v></c>',
        '<c r="A18"><f>_xll.SumK(Data!A1:B2)</f><v>14</v></c>',
        # An array formula over B1:C2, and a dynamic array of one cell.
        '<c r="B1" t="str"><f t="array" ref="B1:C2">_xll.Caller()</f><v>[refs.xlsx]Calc!$B$1:$C$2</v></c>',
        '<c r="C1" t="str"><v>[refs.xlsx]Calc!$B$1:$C$2</v></c>',
        '<c r="B2" t="str"><v>[refs.xlsx]Calc!$B$1:$C$2</v></c>',
        '<c r="C2" t="str"><v>[refs.xlsx]Calc!$B$1:$C$2</v></c>',
        '<c r="D1" cm="1"><f t="array" ref="D1">_xll.Add(Data!A1,10)</f><v>12</v></c>',
        # Cells that cannot be calculated: a built-in xllhost lacks, a circle.
        '<c r="E1" t="e"><f>_xll.Add(RTD("srv","","topic"),0)</f><v>#N/A</v></c>',
        '<c r="E2"><f>_xll.Add(E3,1)</f><v>0</v></c>',
        '<c r="E3"><f>_xll.Add(E2,1)</f><v>0</v></c>',
        # A cell that keeps what Excel saved: it calls no add-in.
        '<c r="F1"><f>NOW()</f><v>45000</v></c>')
    xlsx(os.path.join(out, "refs.xlsx"),
         [("Data", 7, 3, data), ("Calc", 2, 1, calc)],
         strings=["shared"],
         names=[("Rate", None, "Data!$A$1"), ("Local", 1, "Data!$A$2"), ("_xlnm.Print_Area", 0, "Data!$A$1:$B$2")],
         metadata=True)
    # The same add-in cell with a saved value Excel never gave: it differs.
    xlsx(os.path.join(out, "differs.xlsx"),
         [("Sheet1", 1, 1, rows('<c r="A1"><f>_xll.Add(1,2)</f><v>4</v></c>',
                                '<c r="A2"><f>_xll.Add(0.1,0.2)</f><v>0.30000000000000004</v></c>'))])

    # A sheet whose dimension claims every row of the grid, and holds one cell.
    # A cell that reads another workbook through the values Excel cached of it.
    xlsx(os.path.join(out, "linked.xlsx"),
         [("Sheet1", 1, 1, rows('<c r="A1"><f>_xll.Add([1]Prices!$B$2,1)</f><v>41</v></c>',
                                '<c r="A2"><f>_xll.Add(\'[1]Old Prices\'!A1,[1]Prices!B3)</f><v>3</v></c>'))],
         links=[("Prices.xlsx", ["Prices", "Old Prices"],
                 ['<row r="2"><cell r="B2"><v>40</v></cell></row><row r="3"><cell r="B3"><v>2</v></cell></row>',
                  '<row r="1"><cell r="A1"><v>1</v></cell></row>'])])
    xlsx(os.path.join(out, "million.xlsx"),
         [("Sheet1", 1, 1, rows('<c r="A1"><f>_xll.Add(1,2)</f><v>3</v></c>'))], dimension="A1:XFD1048576")
    # A sheet part that is no well-formed XML.
    xlsx(os.path.join(out, "bad-xml.xlsx"), [("Sheet1", 1, 1, '<row r="1"><c r="A1"><v>1</v></row>')])


main(sys.argv[1] if len(sys.argv) > 1 else ".")
