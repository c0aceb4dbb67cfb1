#!/usr/bin/python3
"""Writes resources/Template.ods: the smallest complete OpenDocument
spreadsheet package with one empty table, from which the spreadsheet writer
makes its ods files (it replaces content.xml). The type entry "mimetype"
comes first and is stored uncompressed, as the format requires.

Run from the repository root:  python3 tools/make_ods_template.py
The output is byte-for-byte the same on every run (fixed entry dates)."""
import sys
import zipfile

DECL = '<?xml version="1.0" encoding="UTF-8"?>\n'
MIME = "application/vnd.oasis.opendocument.spreadsheet"
OFFICE = "urn:oasis:names:tc:opendocument:xmlns:office:1.0"
STYLE = "urn:oasis:names:tc:opendocument:xmlns:style:1.0"
TABLE = "urn:oasis:names:tc:opendocument:xmlns:table:1.0"
TEXT = "urn:oasis:names:tc:opendocument:xmlns:text:1.0"
FO = "urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0"
META = "urn:oasis:names:tc:opendocument:xmlns:meta:1.0"
MANIFEST = "urn:oasis:names:tc:opendocument:xmlns:manifest:1.0"

PARTS = {
    "mimetype": MIME,
    "META-INF/manifest.xml": DECL + f"""<manifest:manifest xmlns:manifest="{MANIFEST}" manifest:version="1.2">
  <manifest:file-entry manifest:full-path="/" manifest:version="1.2" manifest:media-type="{MIME}"/>
  <manifest:file-entry manifest:full-path="content.xml" manifest:media-type="text/xml"/>
  <manifest:file-entry manifest:full-path="styles.xml" manifest:media-type="text/xml"/>
  <manifest:file-entry manifest:full-path="meta.xml" manifest:media-type="text/xml"/>
</manifest:manifest>
""",
    "meta.xml": DECL + f"""<office:document-meta xmlns:office="{OFFICE}" xmlns:meta="{META}" office:version="1.2">
  <office:meta>
    <meta:generator>Gleamcard</meta:generator>
  </office:meta>
</office:document-meta>
""",
    "styles.xml": DECL + f"""<office:document-styles xmlns:office="{OFFICE}" xmlns:style="{STYLE}" xmlns:fo="{FO}" office:version="1.2">
  <office:styles>
    <style:default-style style:family="table-cell">
      <style:paragraph-properties style:tab-stop-distance="1.25cm"/>
    </style:default-style>
    <style:style style:name="Default" style:family="table-cell"/>
  </office:styles>
  <office:automatic-styles>
    <style:page-layout style:name="pm1">
      <style:page-layout-properties style:writing-mode="lr-tb"/>
    </style:page-layout>
  </office:automatic-styles>
  <office:master-styles>
    <style:master-page style:name="Default" style:page-layout-name="pm1"/>
  </office:master-styles>
</office:document-styles>
""",
    "content.xml": DECL + f"""<office:document-content xmlns:office="{OFFICE}" xmlns:table="{TABLE}" xmlns:text="{TEXT}" office:version="1.2">
  <office:body>
    <office:spreadsheet>
      <table:table table:name="Sheet1">
        <table:table-column/>
        <table:table-row>
          <table:table-cell/>
        </table:table-row>
      </table:table>
    </office:spreadsheet>
  </office:body>
</office:document-content>
""",
}


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else "resources/Template.ods"
    with zipfile.ZipFile(out, "w") as package:
        for name, text in PARTS.items():
            info = zipfile.ZipInfo(name, date_time=(1980, 1, 1, 0, 0, 0))
            info.compress_type = zipfile.ZIP_STORED if name == "mimetype" else zipfile.ZIP_DEFLATED
            info.external_attr = 0o644 << 16
            package.writestr(info, text.encode("utf-8"))


if __name__ == "__main__":
    main()
