#pragma once
// What a graphic or a profile field may be bound to: the data sets and the
// columns of the design's spreadsheet table, with the first value of each
// (the value shown while designing). The barcode designer, the profile dialog
// and the main window's property panel all ask this one look-up; the data
// room implements it (data/Design_Data_Sources.h).
#include <QString>
#include <QStringList>

class QComboBox;

class Data_Source_Lookup {
public:
    virtual ~Data_Source_Lookup() = default;
    // The data sets' names, in the order the lists show them.
    virtual QStringList Get_datasheet_File_Name_Array() const = 0;
    // The first value of a data set; "" when it has none or cannot be read.
    virtual QString Get_First_Value_Of_Dataset(const QString& name) const = 0;
    // The titles of the spreadsheet table's columns, in column order.
    virtual QStringList Spreadsheet_Column_Titles() const = 0;
    // The first row's value of a column; "" when there is none.
    virtual QString Get_First_Value_Of_Excel_Binding(int column) const = 0;

    // A list of the data sets or of the column titles, nothing chosen, filled
    // without signalling a choice.
    void Fill_Data_Set_File_Name_In_Combo(QComboBox* combo) const;
    void Fill_Excel_Col_Name_In_Combo(QComboBox* combo) const;
};
