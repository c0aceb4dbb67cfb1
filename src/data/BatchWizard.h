#pragma once
// The data-set manager: the window in which the user keeps the data sets
// ("Batch Processing Series"). Its first screen lists the sets of the
// data-set folder; its second shows the values of one set, to edit, fill,
// save and export them.
#include <QDialog>
#include <QString>
#include <QStringList>
#include <functional>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class QWidget;
class Value_List_Model;

// What the manager needs of the design it serves; the main window provides it.
class Data_Set_User {
public:
    virtual ~Data_Set_User() = default;
    // Whether a graphic of the card is bound to the set.
    virtual bool Check_Batch_File_In_Use_Validation(const QString& name) const = 0;
    // The box shown after an export (Export_File_Path, Export_File_Message).
    virtual void Open_Export_File_Box() = 0;
};

class BatchWizard : public QDialog {
    Q_OBJECT
public:
    static BatchWizard* defaultInstance();
    // Opens the manager modally on its list of sets.
    void Open_Wnd();

    // The design whose bindings protect sets from changes; none: nothing is in use.
    Data_Set_User* user = nullptr;
    // The import wizard and the series generator, opened with their two
    // switches (file_name_required, file_name_Insert). Their buttons are off
    // while these are unset.
    std::function<void(int file_name_required, int file_name_Insert)> Open_Import_Wizard;
    std::function<void(int file_name_required, int file_name_Insert)> Open_Generate_List;

    // First screen: the names of the sets, in the folder listing's order.
    QStringList ListData;
    QTableView* List;
    QLabel* batch_list_count;
    QGroupBox* avl_list_box;
    QWidget* btn_box1;
    // Second screen: the values of one set, trimmed; an empty value is an
    // empty row, as the batch counts it.
    QStringList ListData_value;
    QTableView* List_value;
    QLineEdit* batch_list_name;  // the name the set is saved under
    QLineEdit* update_list_name; // hidden: the name it was loaded under; empty for a new set
    QLabel* batch_value_count;
    QGroupBox* list_value_box;
    QWidget* btn_box2;

    // Appends a value to the value list (trimmed; an empty one is ignored).
    void Create_Value_List(const QString& value);
    // Rebuilds the list of sets from the data-set folder.
    void Fill_List();

    void Create_Avail_List(const QString& name);
    QString Get_List_Name_Text(int row) const;
    void Update_batch_List_Count();
    void Update_Value_List_Count();
    void Mark_List_New_Selection(int row);
    void Mark_List_New_Selection_Value(int row);
    void Show_hide_first_screen(bool hide);
    void Show_hide_Last_screen(bool hide);
    bool Batch_List_Selection_Validation();
    void On_Update();
    void OnGetSelected();

public slots:
    // First screen.
    void Import_Btn_Clicked();
    void AddNew_Btn_Clicked();
    void Update_Btn_Clicked();
    void CreateSeries_Btn_Clicked();
    void Delete_List_Btn_Clicked();
    void Close_Btn_Clicked();
    void Help_Btn_Clicked();
    // Second screen.
    void Import_Value_Btn_Clicked();
    void Series_Value_Btn_Clicked();
    void Delete_Rows_Btn_Clicked();
    void Export_Value_Btn_Clicked();
    void Save_Btn_Clicked();
    void Back_Btn_Clicked();
    void Close_2_Btn_Clicked();
    void Help_2_Btn_Clicked();
    void doubleClickInTable(QTableView* sender);

    // Whether the design is bound to the set (never while no design is set).
    bool In_Use(const QString& name) const;

private:
    explicit BatchWizard(QWidget* parent = nullptr);
    // Asks replace-or-append when the value list has values; false when cancelled.
    bool Make_Room_For_Values();
    void Enable_Fill_Buttons();

    Value_List_Model* listModel;
    Value_List_Model* valueModel;
    QPushButton *importButton, *seriesButton, *importValueButton, *seriesValueButton;
};

// The shared manager, through which the import and generator dialogs hand
// over values and refresh the list of sets.
extern BatchWizard* BatchWizard_Window;
