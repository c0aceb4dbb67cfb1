#pragma once
// Columns to data sets: the ticked columns of one worksheet become data
// sets, each column its own set (named in the list's "Header" column), or
// all of them one set, new, replacing an existing one or appended to it.
#include "data/Import_Excel.h"

#include <functional>

class QButtonGroup;
class QGroupBox;
class QRadioButton;

class Import_Excel_DataSheet : public Excel_Column_Dialog {
    Q_OBJECT
public:
    static Import_Excel_DataSheet* defaultInstance();

    // The one-set choice: 0 a new set named in list_name, 1 replace and 2
    // append to the set chosen in List_ComboBox.
    int fill_col_option = 0;
    // 1: the data-set manager lists its sets anew after writing.
    int file_name_Insert = 0;

    QComboBox* List_ComboBox;
    QButtonGroup* matrix_fill_type; // ids 0, 1, 2: the one-set choices
    QRadioButton* Each_col_RD;
    QRadioButton* Fill_col_RD;
    QLineEdit* list_name;
    QGroupBox* fill_box;

    // The long-message box with its apply-to-all check box, provided by the
    // main window: 1 after OK, with apply_all set from the check box. Unset,
    // a plain message or Yes/No question stands in (no apply-to-all).
    std::function<int(const QString& title, const QString& text, bool show_apply, bool* apply_all)>
        Ask_Long_Message;

    // Each column a set; false (nothing written) when a set name is refused
    // or the worksheet holds no data.
    bool Create_file_For_Col_Func(const QString& path);
    // All ticked columns one set; false when the dialog stays open.
    bool Insert_file_Func(const QString& path);

public slots:
    void Each_Col_RD_Click();
    void Fill_Col_RD_Click();
    void Fill_Type_CellClick();
    void OKPressed() override;

protected:
    void Opening() override;
    void Loaded() override;

private:
    explicit Import_Excel_DataSheet(QWidget* parent = nullptr);
    QWidget* nameRow; // list_name with its caption
    QWidget* setRow;  // List_ComboBox with its caption
    int askLong(const QString& title, const QString& text, bool show_apply, bool* apply_all, bool inform);
    // The list's set-name column is there in each-column mode, the one mode that names sets by column.
    void Show_Set_Name_Column();
};
