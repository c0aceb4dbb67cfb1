#pragma once
// The design's spreadsheet table: chosen columns of one worksheet, copied
// into memory and saved with the design log. Position 0 is the row-number
// column ("Extension"); column k (from 1) holds the k-th chosen column under
// the key "Column%d".
#include <QAbstractTableModel>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantMap>

class QDialog;
class QLabel;
class QTableView;

class Data_From_Excel {
public:
    // The viewer: shows the table and lets cells be edited; 1 after OK.
    int Open_Wnd();
    void OK_Click();
    QDialog* window = nullptr;  // made on first use
    QTableView* ColList = nullptr;
    QLabel* rows_count = nullptr;
    QLabel* column_count = nullptr;
    // The table as the viewer edits it.
    QAbstractTableModel* model();

    static Data_From_Excel* defaultInstance();

    // The rows, each a dictionary from "Extension" and "Column%d" to text.
    QList<QVariantMap> ListData;

    // Header titles of all columns in position order, row-number column first.
    QStringList Column_Titles() const;
    // Replaces the data columns (positions 1 to N); the row-number column stays.
    void Set_Data_Columns(const QStringList& titles);
    int Column_Count() const { return int(_dataTitles.size()) + 1; }
    // Empties the table: no rows, and no columns but the row numbers.
    void Clear();

    // Appends a row of the first count values, trimmed, numbered after the rows already held.
    void Create_List_By_Array(const QStringList& values, int count);
    // The key of a column position: "Extension" for 0, "Column%d" otherwise.
    static QString Column_Key(int position);

    static const QString Row_Number_Title;

private:
    QStringList _dataTitles;
};

// The shared table (the same object as Data_From_Excel::defaultInstance()).
extern Data_From_Excel* Data_From_Excel_Window;
