#pragma once
// The data-set viewer, and the two small sheets of the data-set manager: the
// replace-or-append question and the value editor.
#include <QAbstractTableModel>
#include <QDialog>
#include <QString>
#include <QStringList>

class QLabel;
class QLineEdit;
class QTableView;

// One column of texts over a list the dialog owns; read-only, so a text typed
// into a cell changes nothing.
class Value_List_Model : public QAbstractTableModel {
public:
    Value_List_Model(const QStringList* rows, const QString& title, QObject* parent = nullptr);
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    // The list changed: the table shows it anew.
    void reload();
    // One row was added at the end of the list.
    void appended();
    // A table over this model: rows selected whole, no editing.
    QTableView* Make_Table();

private:
    const QStringList* _rows;
    QString _title;
};

// While it lives the pointer shows that the program is busy reading or
// writing a file (the work is short and runs on the main thread).
struct Please_Wait {
    Please_Wait();
    ~Please_Wait();
    Please_Wait(const Please_Wait&) = delete;
    Please_Wait& operator=(const Please_Wait&) = delete;
};

// Shows the values of one data set, read-only, with their number.
class View_Data_Series : public QDialog {
    Q_OBJECT
public:
    static View_Data_Series* defaultInstance();
    // Shows the set named by file_name until OK is pressed.
    void Open_Wnd();
    // Shows the set of that name (trimmed); "Please select the series." when
    // the name is empty.
    static void View_Series_Named(const QString& name);

    QString file_name; // the set to show, set by the caller
    QLabel* series_name;
    QStringList ListData; // the values shown, trimmed, empty ones as empty rows
    QTableView* List;
    QLabel* list_count;

    // Reads the set's file into ListData; a missing or unreadable file gives no rows.
    void Load_file_Func(const QString& name);
    void Update_batch_List_Count();

public slots:
    void OK_Btn_Clicked();

private:
    explicit View_Data_Series(QWidget* parent = nullptr);
    Value_List_Model* model;
};

// Asks whether new values replace the value list (1), are added after it (0),
// or nothing is done (any other code).
class Load_Num_Info : public QDialog {
    Q_OBJECT
public:
    static Load_Num_Info* defaultInstance();
    static constexpr int Cancelled = 2;

public slots:
    void YESPressed();
    void NOPressed();
    void CancelPressed();
    void reject() override { CancelPressed(); } // closing the sheet cancels

private:
    explicit Load_Num_Info(QWidget* parent = nullptr);
};

// Changes one value of the data-set manager's value list.
class Update_Ex_Num : public QDialog {
    Q_OBJECT
public:
    static Update_Ex_Num* defaultInstance();
    QLineEdit* m_ex_num_index; // the row of the value (hidden)
    QLineEdit* m_ex_num_str;   // the value as edited
    QLineEdit* m_s_number;     // the value before editing (read-only)

public slots:
    void OKPressed();
    void CancelPressed();
    void reject() override { CancelPressed(); }

private:
    explicit Update_Ex_Num(QWidget* parent = nullptr);
    void clearFields();
};
