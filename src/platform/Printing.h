#pragma once
// Jobs for the system's printers (CUPS). A job is drawn into a PDF laid out
// like the chosen printer (paper, orientation, margins) and handed to the
// print service with `lp`, whose answer tells whether the job was taken:
// Qt's own printer output drops that answer, so a refused job would look
// printed.
#include "platform/Host.h"

namespace platform {
PrintResult Print_On_System_Printer(const QPrinter& printer, const PrintJob& job);
// The print service's name of printer's paper, for `lp -o media=`.
QString Print_Media_Name(const QPrinter& printer);
}
