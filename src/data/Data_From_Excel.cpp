#include "data/Data_From_Excel.h"

#include "model/Helpers.h"

const QString Data_From_Excel::Row_Number_Title = QStringLiteral("No.");

Data_From_Excel* Data_From_Excel_Window = Data_From_Excel::defaultInstance();

Data_From_Excel* Data_From_Excel::defaultInstance()
{
    static Data_From_Excel instance;
    return &instance;
}

QStringList Data_From_Excel::Column_Titles() const
{
    return QStringList{Row_Number_Title} + _dataTitles;
}

void Data_From_Excel::Set_Data_Columns(const QStringList& titles)
{
    _dataTitles = titles;
}

QString Data_From_Excel::Column_Key(int position)
{
    return position == 0 ? QStringLiteral("Extension") : QStringLiteral("Column%1").arg(position);
}

void Data_From_Excel::Create_List_By_Array(const QStringList& values, int count)
{
    if (values.size() < count) {
        Show_NSLog_Message(QStringLiteral("Create_List_By_Array: %1 values for %2 columns").arg(values.size()).arg(count));
        return;
    }
    QVariantMap row;
    row.insert(QStringLiteral("Extension"), QString::number(ListData.size() + 1));
    for (int i = 0; i < count; ++i)
        row.insert(Column_Key(i + 1), Trim_Str(values[i]));
    ListData.append(row);
}
