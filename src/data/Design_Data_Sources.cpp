#include "data/Design_Data_Sources.h"

#include "data/DataSetFiles.h"
#include "data/Data_From_Excel.h"
#include "model/Globals.h"
#include "model/Helpers.h"

#include <exception>

namespace {
class Design_Sources final : public Data_Source_Lookup {
public:
    QStringList Get_datasheet_File_Name_Array() const override { return Data_Set_Listing(Data_Folder_Path); }

    QString Get_First_Value_Of_Dataset(const QString& name) const override
    {
        try {
            return Data_Set_First_Value(name);
        } catch (const std::exception& e) {
            Show_NSLog_Message(QString::fromUtf8(e.what()));
            return QStringLiteral("");
        }
    }

    QStringList Spreadsheet_Column_Titles() const override
    {
        return Data_From_Excel_Window ? Data_From_Excel_Window->Column_Titles() : QStringList();
    }

    QString Get_First_Value_Of_Excel_Binding(int column) const override
    {
        if (!Data_From_Excel_Window || Data_From_Excel_Window->ListData.isEmpty()) {
            Show_NSLog_Message(QStringLiteral("The spreadsheet table is empty"));
            return QStringLiteral("");
        }
        return Data_From_Excel_Window->ListData.first().value(Data_From_Excel::Column_Key(column)).toString();
    }
};
}

const Data_Source_Lookup& Design_Data_Sources()
{
    static const Design_Sources sources;
    return sources;
}
