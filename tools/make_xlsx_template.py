#!/usr/bin/python3
"""Writes resources/Template.xlsx: the smallest complete xlsx package with one
empty worksheet and an empty shared-string part, from which the spreadsheet
writer makes its workbooks (it replaces the worksheet and the shared strings).

Run from the repository root:  python3 tools/make_xlsx_template.py
The output is byte-for-byte the same on every run (fixed entry dates)."""
import sys
import zipfile

MAIN = "http://schemas.openxmlformats.org/spreadsheetml/2006/main"
REL = "http://schemas.openxmlformats.org/officeDocument/2006/relationships"
PKG_REL = "http://schemas.openxmlformats.org/package/2006/relationships"
DECL = '<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n'
SHEET_TYPE = "application/vnd.openxmlformats-officedocument.spreadsheetml"

PARTS = {
    "[Content_Types].xml": DECL + f"""<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">
  <Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>
  <Default Extension="xml" ContentType="application/xml"/>
  <Override PartName="/xl/workbook.xml" ContentType="{SHEET_TYPE}.sheet.main+xml"/>
  <Override PartName="/xl/worksheets/sheet1.xml" ContentType="{SHEET_TYPE}.worksheet+xml"/>
  <Override PartName="/xl/sharedStrings.xml" ContentType="{SHEET_TYPE}.sharedStrings+xml"/>
  <Override PartName="/xl/styles.xml" ContentType="{SHEET_TYPE}.styles+xml"/>
</Types>
""",
    "_rels/.rels": DECL + f"""<Relationships xmlns="{PKG_REL}">
  <Relationship Id="rId1" Type="{REL}/officeDocument" Target="xl/workbook.xml"/>
</Relationships>
""",
    "xl/workbook.xml": DECL + f"""<workbook xmlns="{MAIN}" xmlns:r="{REL}">
  <bookViews>
    <workbookView activeTab="0"/>
  </bookViews>
  <sheets>
    <sheet name="Sheet1" sheetId="1" r:id="rId1"/>
  </sheets>
</workbook>
""",
    "xl/_rels/workbook.xml.rels": DECL + f"""<Relationships xmlns="{PKG_REL}">
  <Relationship Id="rId1" Type="{REL}/worksheet" Target="worksheets/sheet1.xml"/>
  <Relationship Id="rId2" Type="{REL}/styles" Target="styles.xml"/>
  <Relationship Id="rId3" Type="{REL}/sharedStrings" Target="sharedStrings.xml"/>
</Relationships>
""",
    "xl/styles.xml": DECL + f"""<styleSheet xmlns="{MAIN}">
  <fonts count="1">
    <font><sz val="12"/><name val="Calibri"/><family val="2"/></font>
  </fonts>
  <fills count="2">
    <fill><patternFill patternType="none"/></fill>
    <fill><patternFill patternType="gray125"/></fill>
  </fills>
  <borders count="1">
    <border><left/><right/><top/><bottom/><diagonal/></border>
  </borders>
  <cellStyleXfs count="1">
    <xf numFmtId="0" fontId="0" fillId="0" borderId="0"/>
  </cellStyleXfs>
  <cellXfs count="1">
    <xf numFmtId="0" fontId="0" fillId="0" borderId="0" xfId="0"/>
  </cellXfs>
  <cellStyles count="1">
    <cellStyle name="Normal" xfId="0" builtinId="0"/>
  </cellStyles>
</styleSheet>
""",
    "xl/worksheets/sheet1.xml": DECL + f"""<worksheet xmlns="{MAIN}" xmlns:r="{REL}">
  <dimension ref="A1"/>
  <sheetData/>
</worksheet>
""",
    "xl/sharedStrings.xml": DECL + f"""<sst xmlns="{MAIN}" count="0" uniqueCount="0"/>
""",
}


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else "resources/Template.xlsx"
    with zipfile.ZipFile(out, "w") as package:
        for name, text in PARTS.items():
            info = zipfile.ZipInfo(name, date_time=(1980, 1, 1, 0, 0, 0))
            info.compress_type = zipfile.ZIP_DEFLATED
            info.external_attr = 0o644 << 16
            package.writestr(info, text.encode("utf-8"))


if __name__ == "__main__":
    main()
