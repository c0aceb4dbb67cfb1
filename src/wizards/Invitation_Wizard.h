#pragma once
// The start wizard that opens every new project: a start page (build an
// invitation with the wizard, or open a saved design log), a frame page and
// a photo page with the photo's filter settings and the invitation details.
// The photo page also runs alone to edit the main photo of a design.
#include "model/ImageProcesser.h"
#include "platform/ImageBrowser.h"
#include "platform/MyImageObject.h"
#include "wizards/Wizard_Logic.h"

#include <QDialog>
#include <QImage>
#include <QList>
#include <QSlider>
#include <map>

class QCheckBox;
class QDateEdit;
class QDoubleSpinBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTimeEdit;

// A slider over a range of decimal values (steps of 1/scale).
class Filter_Slider : public QSlider {
    Q_OBJECT
public:
    Filter_Slider(float minimum, float maximum, float scale, QWidget* parent = nullptr);
    float floatValue() const { return float(value()) / _scale; }
    void setFloatValue(float v);

private:
    float _scale;
};

class Invitation_Wizard : public QDialog,
                          public Template_Lists,
                          public ImageBrowserDataSource,
                          public ImageBrowserDelegate {
    Q_OBJECT
public:
    static Invitation_Wizard* defaultInstance();

    // Runs the wizard from its start page: 1 when a design log was opened or
    // the wizard finished, 0 when it was closed. Exit ends the process.
    int Open_Wnd();
    // Runs the photo page alone on the design's main photo: 1 after Finish, 0 after Close.
    int Open_Wnd_For_Edit_Photo();

    // Operations.
    void Select_card_option(int option, QObject* sender);
    void Show_Hide_Card_Start_Screen(bool start_page);
    void Load_and_fill_backgrounds();
    void addImageWithPath(const QString& path, const QString& imageName, const QString& image_UID);
    void Reset_All();
    void Clear_Details();
    void Update_Image_With_Settings();
    void Reset_Image_Editing_Controls();
    // A detail field's text changed: its length limit, and what follows from it.
    void controlTextDidChange(QWidget* field);
    // The most characters a detail field takes (0: no limit), and the count
    // beside it that shows how many it holds of that ("12/40", red at the
    // limit).
    int Length_Limit(const QWidget* field) const;
    QLabel* Length_Count(const QWidget* field) const;

    // Image browser data source and delegate.
    int numberOfItemsInImageBrowser(ImageBrowser* browser) override;
    MyImageObject imageBrowserItemAtIndex(ImageBrowser* browser, int index) override;
    void imageBrowserRemoveItemsAtIndexes(ImageBrowser* browser, const QList<int>& indexes) override;
    bool imageBrowserMoveItemsAtIndexes(ImageBrowser* browser, const QList<int>& indexes, int destination) override;
    int imageBrowserWriteItemsAtIndexes(ImageBrowser* browser, const QList<int>& indexes) override;
    void imageBrowserCellWasDoubleClickedAtIndex(ImageBrowser* browser, int index) override;
    void imageBrowserSelectionDidChange(ImageBrowser* browser) override;

    // State.
    int next_counter = 0; // 0 start page, 2 frame page, 3 photo page
    bool wizard_or_edit_photo = false; // true in edit-photo mode
    bool auto_background_selection = false;
    QList<MyImageObject> images;
    QString selected_image = QStringLiteral("");
    QString selected_title = QStringLiteral("");
    QString selected_msg = QStringLiteral("");
    QString selected_date = QStringLiteral("");
    QString selected_time = QStringLiteral("");
    QImage User_Picture;   // the picture the settings are applied to when the wizard finishes
    QImage Screen_Picture; // User_Picture at screen size: the sliders filter this copy
    QImage Preview_Image;  // the picture as previewed, settings applied
    // In edit mode without the photo file the photo is shown as it is (its
    // settings already applied) until a control is touched.
    bool Preview_Shows_Photo_As_Is = false;
    // Reads the chosen photo; false (error says why) when it is not a picture.
    bool Load_Photo(const QString& path, QString* error);

    // Pages.
    QGroupBox* Start_card_box;
    QGroupBox* first_box;   // card size (kept at its preset)
    QGroupBox* second_box;  // frame browser
    QGroupBox* third_box;   // invitation details
    QGroupBox* fourth_box;  // title and message
    QGroupBox* photo_box;
    QWidget* button_box;
    // Card size, millimetres.
    QDoubleSpinBox* width_Stepper;
    QLineEdit* width_Text;
    QDoubleSpinBox* height_Stepper;
    QLineEdit* height_Text;
    QLabel* APP_path_label;
    ImageBrowser* imageBrowser;
    // Details.
    QLineEdit* from_value;
    QLineEdit* to_value;
    QLineEdit* venue_value;
    QDateEdit* Date_picker;
    QTimeEdit* Time_picker;
    QLineEdit* Date_ctrl_value;
    QLineEdit* Time_ctrl_value;
    QPushButton* clear_details_btn;
    QLineEdit* msg_title;
    QPlainTextEdit* msg_value;
    QPushButton *title_bk_btn, *title_nxt_btn, *msg_bk_btn, *msg_nxt_btn;
    // Buttons.
    QPushButton *Using_Wizard_btn, *Open_Log_btn;
    QPushButton *Exit_btn, *Help_btn_1, *Contact_us_btn, *Finish_Btn, *Close_Btn;
    QPushButton *Back_Btn, *Next_btn, *Cancel_btn, *Help_btn_2;
    // Photo page.
    QLineEdit* image_path;
    QLabel* Selected_picture;
    QPushButton* browse_photo_btn;
    QGroupBox* Image_Setting_Box;
    Filter_Slider *Rotate_slidr, *Trsp_slidr, *Hue_slidr, *Sat_slidr, *Brt_slidr, *Con_slidr, *shrp_slidr,
        *ev_slidr, *blr_slidr;
    QLabel *Rotate_slidr_val, *Trsp_slidr_val, *Hue_slidr_val, *Sat_slidr_val, *Brt_slidr_val, *Con_slidr_val,
        *shrp_slidr_val, *ev_slidr_val, *blr_slidr_val;
    QCheckBox *Image_Gray_Scale_chk, *Image_Sepia_chk, *Image_Invert_chk, *Image_FIV_chk, *Image_FIH_chk;
    QPushButton* Image_reset_btn;

public slots:
    void Using_Wizard_Click();
    void Open_Log_Click();
    void OK_Click();
    void Back_Click();
    void CancelClick();
    void ExitClick();
    void Close_Form_Click();
    void HelpClick();
    void Clear_Details_Click();
    void datePickerAction();
    void timePickerAction();
    void Title_Back_Click();
    void Title_Next_Click();
    void Msg_Back_Click();
    void Msg_Next_Click();
    void Browse_Image_Click();
    void Image_reset_Button();
    void Rotate_Slider_Changed();
    void Transperncy_Slider_Changed();
    void Hue_Slider_Changed();
    void Sat_Slider_Changed();
    void Brt_Slider_Changed();
    void Con_Slider_Changed();
    void sharp_Slider_Changed();
    void EV_Slider_Changed();
    void Blr_Slider_Changed();
    void Image_Gray_Scale_Chked();
    void Image_Sepia_Chked();
    void Image_Invert_Chked();
    void Image_FIV_Chked();
    void Image_FIH_Chked();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    Invitation_Wizard();
    void buildWindow();
    void awakeFromNib();
    QWidget* buildStartPage();
    QWidget* buildSizeBox();
    QWidget* buildFramePage();
    QWidget* buildPhotoPage();
    QWidget* buildDetailBoxes();
    void finish();
    // The count label of a limited field, its limit also told in the field's tip.
    QLabel* makeLengthCount(QWidget* field);
    void showLengthCount(QWidget* field, int length);
    std::map<const QWidget*, QLabel*> length_counts;
    void showPhotoPage();
    void showPreview(const QImage& image);
    // Puts settings into the controls without applying them (flips: also turn the flip boxes off).
    void showSettings(const Photo_Filter_Settings& settings, bool flips);

    // The filter settings as they were when the wizard opened; put back when
    // it is left without finishing.
    Photo_Filter_Settings openingFilters;
};
