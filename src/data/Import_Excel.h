#pragma once
// The spreadsheet column dialogs: one worksheet of an xlsx workbook, its
// columns listed by their titles (the first row) to be ticked.
//   Import_Excel (the column picker) puts the ticked columns into the
//   design's spreadsheet table (open_mode "E") or hands their cells to the
//   data-set manager's value list ("D").
//   Import_Excel_DataSheet (Import_Excel_DataSheet.h) makes data sets of them.
#include <QDialog>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QTableView;
class QVBoxLayout;
class Excel_Column_Model;

// One column of the worksheet in the list.
struct Excel_Column_Entry {
    bool State = false; // ticked
    QString Extension;  // the column's title; never empty
    QString Header;     // the data-set name the column would make
};

// What both column dialogs share: opening a workbook, choosing a worksheet,
// the list of its columns and the ticking.
class Excel_Column_Dialog : public QDialog {
    Q_OBJECT
public:
    // Reads the workbook at path and runs the dialog: 1 after an import, 0
    // after Cancel. A workbook that cannot be read is reported and the
    // dialog does not open (0).
    int Open_excel_Wnd(const QString& path);

    QList<Excel_Column_Entry> ListData_xl;
    QList<QStringList> excel_content; // the rows last read
    // An OpenDocument or XML-2003 file: all its rows, read when it was opened.
    bool other_format = false;
    QList<QStringList> other_rows;
    QComboBox* Sheet_ComboBox;
    QLineEdit* file_path;
    QCheckBox* contains_header;
    QTableView* ColList;

    // Unpacks the workbook and lists its worksheets (the first chosen); false
    // when it cannot be read.
    bool Load_file_Func(const QString& path);
    // Appends a column; a title that is blank keeps its place as "Untitled
    // Column n" (n its position from 1), and so does its set name.
    void Create_List(const QString& title, int state, const QString& datasetname = QString());
    bool Check_For_One_Extension_Selection() const;
    // 1 when the column at position is ticked; 0 (logged) past the list's end.
    int Get_Selection_State(int position) const;

public slots:
    // The worksheet chooser: the chosen worksheet's columns are listed.
    void comboBoxSelectionDidChange(QComboBox* combo);
    void Select_ALL_Pressed();
    void Clear_All_Pressed();
    virtual void OKPressed() = 0;
    void CancelPressed();
    void reject() override { CancelPressed(); }

protected:
    // set_names: the list has a third, editable column "Header".
    Excel_Column_Dialog(bool set_names, QWidget* parent);
    // Where a dialog adds its own controls, below the list.
    QVBoxLayout* ownControls;
    Excel_Column_Model* model;

    // "There is no column." / "No column is selected." when OK cannot go on.
    bool Columns_Chosen();
    QList<int> Ticked_Positions() const;
    // The data rows of the chosen worksheet (after the title row when the
    // sheet has one); nullopt, after no_data, when there are none or the
    // worksheet cannot be read.
    std::optional<QList<QStringList>> Read_Data_Rows(const QString& no_data);
    void Reload_List();
    // The title row of other_rows, as wide as its widest row.
    QList<QStringList> Other_Title_Row() const;

    virtual void Opening() {}
    virtual void Loaded() {}
};

class Import_Excel : public Excel_Column_Dialog {
    Q_OBJECT
public:
    static Import_Excel* defaultInstance();
    // "E": the ticked columns become the design's spreadsheet table; "D":
    // their non-empty cells go to the data-set manager's value list.
    QString open_mode = QStringLiteral("D");

    // Mode "D" and mode "E"; true when they imported.
    bool Insert_file_Func(const QString& path);
    bool Create_Excel_List_Func(const QString& path);

public slots:
    void OKPressed() override;

private:
    explicit Import_Excel(QWidget* parent = nullptr);
};

// An open panel for one xlsx workbook, after the previously chosen
// workbook's unpacked copy has been removed (also when the panel is then
// cancelled). The chosen path; null when cancelled.
QString Choose_Spreadsheet_File();

// The column picker's shared instance.
extern Import_Excel* imp_xl_Window;

// The message for a worksheet without data.
extern const QString Corrupted_File_Message;
