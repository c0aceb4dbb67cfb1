#include "model/Data_Source_Lookup.h"

#include <QComboBox>

namespace {
void fill(QComboBox* combo, const QStringList& entries)
{
    if (!combo)
        return;
    const QSignalBlocker block(combo);
    combo->setCurrentIndex(-1);
    combo->clear();
    combo->addItems(entries);
    combo->setCurrentIndex(-1);
}
}

void Data_Source_Lookup::Fill_Data_Set_File_Name_In_Combo(QComboBox* combo) const
{
    fill(combo, Get_datasheet_File_Name_Array());
}

void Data_Source_Lookup::Fill_Excel_Col_Name_In_Combo(QComboBox* combo) const
{
    fill(combo, Spreadsheet_Column_Titles());
}
