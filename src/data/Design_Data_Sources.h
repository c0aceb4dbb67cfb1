#pragma once
// The data sources of the design being edited: the data-set files of the
// data-set folder and the spreadsheet table (Data_From_Excel_Window).
#include "model/Data_Source_Lookup.h"

const Data_Source_Lookup& Design_Data_Sources();
