#pragma once
// The import wizard: outside data becomes a data set, or values of the
// data-set manager's value list. Four sources, one at a time: an xlsx
// spreadsheet (handed on to a column dialog), a text, CSV or RTF file, text
// pasted into the dialog, and a folder of images.
#include <QDialog>
#include <QList>

class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

class Import_Wizard : public QDialog {
    Q_OBJECT
public:
    static Import_Wizard* defaultInstance();
    // Clears the dialog and runs it until an import is done or Cancel.
    void Open_Wnd();

    int import_option = 0; // 0 spreadsheet, 1 text file, 2 pasted text, 3 image folder
    // 1: each source writes a new data set named in the dialog; otherwise the
    // values go to the manager's value list. Set by every caller.
    int file_name_required = 0;
    // 1: the manager lists its sets anew after an import.
    int file_name_Insert = 0;

    QLineEdit* Excel_path;
    QLineEdit* Text_path;
    QLineEdit* Image_path;
    QPlainTextEdit* ManualEdit;
    QLineEdit* Text_file_name;
    QLineEdit* Manual_file_name;
    QLineEdit* Image_file_name;
    QRadioButton* Excel_RD;
    QRadioButton* Text_RD;
    QRadioButton* Mnul_RD;
    QRadioButton* Image_RD;
    QPushButton* Excel_btn;
    QPushButton* Text_btn;
    QPushButton* Image_btn;

    void Enable_Disable_Excel_Option(bool enable);
    void Enable_Disable_Text_Option(bool enable);
    void Enable_Disable_Manual_Option(bool enable);
    void Enable_Disable_Image_Option(bool enable);

    // The three writers; false keeps the wizard open.
    bool Create_And_Save_Text_Data_Sheet(const QString& path);
    bool Create_And_Save_Manual_Paste_data_Sheet();
    bool Create_And_Save_Image_data_Sheet(const QString& folder);

public slots:
    void Excel_RD_Pressed();
    void Text_RD_Pressed();
    void Manual_RD_Pressed();
    void Image_RD_Pressed();
    // Each chooses its file or folder and imports at once.
    void Browse_Excel_Pressed();
    void Browse_Text_Pressed();
    void Browse_Image_Pressed();
    void HelpPressed();
    void OKPressed();
    void CancelPressed();

private:
    explicit Import_Wizard(QWidget* parent = nullptr);
    void Choose_Source(int option);
    // A chosen file or folder goes into its path field and is imported at once.
    void Import_From(QLineEdit* field, const QString& path);
    // The set name of a writer: null when the import stops there, empty
    // when the values go to the manager.
    QString Set_Name(QLineEdit* field);
    QList<QWidget*> nameRows; // each name field with its caption
};
