#include "data/Value_Delivery.h"

#include "data/BatchWizard.h"
#include "data/DataSetFiles.h"
#include "data/View_Data_Series.h"
#include "model/Helpers.h"

#include <QFileInfo>

QString Data_Set_In_Use_Message(const QString& name)
{
    return name
           + QStringLiteral("\nBatch processing Series name is already in use with another sequence. Please change "
                            "Batch Processing Series Name.");
}

QString Accept_New_Data_Set_Name(const QString& typed, bool refuse_in_use)
{
    const QString name = Remove_Reserve_Char_In_File_Name(typed);
    const QString path = Data_Set_File_Path(name);
    if (path.isEmpty()) {
        Show_MessageBox(Invalid_Data_Set_Name_Message);
        return {};
    }
    if (!QFileInfo::exists(path))
        return name;
    if (refuse_in_use && BatchWizard::defaultInstance()->In_Use(name)) {
        Show_MessageBox(Data_Set_In_Use_Message(name));
        return {};
    }
    if (!Show_YES_NO_MessageBox(QStringLiteral("Batch Processing Series already exists. Do you want to replace it?")))
        return {};
    return name;
}

bool Deliver_Values(int file_name_required, int file_name_Insert, const QString& name, const QStringList& values,
                    bool append)
{
    BatchWizard* manager = BatchWizard::defaultInstance();
    if (file_name_required == 1) {
        bool written = false;
        {
            const Please_Wait wait;
            written = Write_Data_Set(name, values, append);
        }
        if (!written) {
            Show_MessageBox(QStringLiteral("Error in file accessing."));
            return false;
        }
    } else {
        for (const QString& value : values)
            manager->Create_Value_List(value);
    }
    if (file_name_Insert == 1)
        manager->Fill_List();
    return true;
}
