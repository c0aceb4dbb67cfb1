#pragma once
// What each fuzz target does with one input. The libFuzzer targets call
// these, and the normal test suite runs every input that ever made one of
// them fail (fuzz/regressions/<body>/) through the same code. A body returns
// 0; a broken promise (a save that says it worked but does not reopen, a
// round trip that changes what it carries) aborts.
#include <QByteArray>
#include <QString>
#include <cstddef>
#include <cstdint>

class SKTGraphic;

// Sets up what every body needs once per process: an application object
// (offscreen) and a private resource folder.
void Fuzz_Setup();

int Fuzz_Design_Log(const uint8_t* data, size_t size);      // read, draw, save, reopen
int Fuzz_Graphic_Archive(const uint8_t* data, size_t size); // unarchive, draw, archive again
int Fuzz_Property_List(const uint8_t* data, size_t size);   // parse, write in both forms, parse again
int Fuzz_Zip(const uint8_t* data, size_t size);             // unpack, pack, unpack again
int Fuzz_Xlsx(const uint8_t* data, size_t size);            // workbook parts, packed and read
int Fuzz_Data_Set(const uint8_t* data, size_t size);        // a data-set file read, written, read again
int Fuzz_Barcode(const uint8_t* data, size_t size);         // any symbology, any value and style fields
int Fuzz_Ods(const uint8_t* data, size_t size);             // an ods content part, packed and read
int Fuzz_Xml_Sheet(const uint8_t* data, size_t size);       // an XML Spreadsheet 2003 file read
int Fuzz_Rtf(const uint8_t* data, size_t size);             // an RTF document's text and its import values
int Fuzz_Text_Import(const uint8_t* data, size_t size);     // a text, CSV or RTF file imported as a data set
int Fuzz_Templates(const uint8_t* data, size_t size);       // template files made, listed, copied, renamed, deleted

// A barcode input whose fields and texts are the graphic's own (seeds).
QByteArray Fuzz_Barcode_Input(const SKTGraphic& graphic);

// The parts of an xlsx input, in this order, each after the separator.
extern const char* const Fuzz_Xlsx_Parts[4];
extern const char* const Fuzz_Xlsx_Separator;

// Writes small, valid inputs for every body with the project's own writers,
// into corpus/<body>/; resourceFolder is the application's (its workbook
// template is used). The resource folder in use is the same afterwards.
void Fuzz_Write_Seeds(const QString& corpus, const QString& resourceFolder);

// A body by its name ("design_log", "graphic_archive", ...); null for another.
using Fuzz_Body = int (*)(const uint8_t*, size_t);
Fuzz_Body Fuzz_Body_Named(const char* name);
