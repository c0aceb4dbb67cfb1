#pragma once
// The series generator: a list of values made by one of three rules (a run
// of numbers between a prefix and a suffix, one value repeated, or random
// numbers of a number of digits), written as a new data set or handed to the
// data-set manager's value list.
#include <QDialog>
#include <QList>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QDoubleSpinBox;

class Generate_List : public QDialog {
    Q_OBJECT
public:
    static Generate_List* defaultInstance();
    // Clears the dialog and runs it until OK has delivered or Cancel.
    void Open_Wnd();

    // 1: a new data-set file named in the dialog; otherwise the values go to
    // the data-set manager's value list. Set by every caller before Open_Wnd.
    int file_name_required = 0;
    // 1: the manager lists its sets anew when the dialog has delivered.
    int file_name_Insert = 0;

    QRadioButton* radioButton_Sequntial;
    QRadioButton* radioButton_Constant;
    QRadioButton* radioButton_Random;
    QLineEdit* prefix_txt;
    QLineEdit* suffix_txt;
    QLineEdit* from_txt;
    QLineEdit* to_txt;
    QLineEdit* value_txt;
    QLineEdit* count_txt;
    QDoubleSpinBox* count_stepper;
    QLineEdit* rand_prefix_txt;
    QLineEdit* rand_suffix_txt;
    QLineEdit* rand_length_txt;
    QDoubleSpinBox* rand_length_stepper;
    QLineEdit* rand_count_txt;
    QDoubleSpinBox* rand_count_stepper;
    QCheckBox* manage_digit_chk;
    QPushButton* help_btn;
    QLineEdit* seq_file_name;
    QLineEdit* const_file_name;
    QLineEdit* rndm_file_name;

public slots:
    void Sequintial_Radio_Pressed();
    void Constant_Radio_Pressed();
    void Random_Radio_Pressed();
    // Each pairs a number field with its stepper: a stepper that sent hands
    // its value to the field, anything else the field's value to the stepper.
    void Count_Stepper_Pressed();
    void Random_Length_Stepper_Pressed();
    void Random_Count_Stepper_Pressed();
    void Help_btn_Pressed();
    void OKPressed();
    void CancelPressed();
    // Keeps the count and length fields within their limits as they are typed.
    void controlTextDidChange(QLineEdit* field);

private:
    explicit Generate_List(QWidget* parent = nullptr);
    enum Mode { Sequential, Constant, Random };
    void Choose_Mode(Mode mode);
    // A check that failed: its message shown, its field focused.
    void Refuse(const QString& message, QLineEdit* field);
    Mode mode = Sequential;
    QList<QWidget*> nameRows; // each name field with its caption
};
