#pragma once
// The template wizard: browses the built-in templates or the user's own by
// their preview pictures, and copies, renames and deletes user templates.
// OK leaves the chosen template's design log in Selected_Template_Path for
// the caller to load.
#include "model/SKTDocument.h"
#include "platform/ImageBrowser.h"
#include "wizards/Card_Preset_Panel.h"
#include "wizards/Show_User_Profile.h"

#include <QDialog>
#include <QList>
#include <optional>

class QComboBox;
class QLineEdit;
class QPushButton;
class QSlider;

// The preview selected while browsing; the design log after OK.
extern QString Selected_Template_Path;
// Raised for every user template listed, so each listing gives new identifiers.
extern quint64 User_Defined_File;

class Template_Wizard : public QDialog,
                        public Card_Preset_Panel,
                        public ImageBrowserDataSource,
                        public ImageBrowserDelegate {
    Q_OBJECT
public:
    static Template_Wizard* defaultInstance();

    QComboBox* cat_cmbo_bx = nullptr; // 0 built-in templates, 1 my templates
    ImageBrowser* imageBrowser = nullptr;
    QList<MyImageObject> images;
    QSlider* _zoom_slider = nullptr; // 0..100 for a zoom of 0..1
    QPushButton *Delete_temp_btn = nullptr, *Copy_temp_btn = nullptr, *Rename_temp_btn = nullptr;

    // 1 after OK, 0 after Cancel or when the opening failed.
    int Open_Template_Window();
    void Fill_Templates();
    void Fill_Templates_User_Defined();
    void addImageWithPath(const QString& path, const QString& name, const QString& uid);
    void Show_Hide_Template_Buttons(bool hidden);

    int numberOfItemsInImageBrowser(ImageBrowser* browser) override;
    MyImageObject imageBrowserItemAtIndex(ImageBrowser* browser, int index) override;
    void imageBrowserRemoveItemsAtIndexes(ImageBrowser* browser, const QList<int>& indexes) override;
    bool imageBrowserMoveItemsAtIndexes(ImageBrowser* browser, const QList<int>& indexes, int destination) override;
    int imageBrowserWriteItemsAtIndexes(ImageBrowser*, const QList<int>&) override { return 0; }
    void imageBrowserSelectionDidChange(ImageBrowser* browser) override;
    void imageBrowserCellWasDoubleClickedAtIndex(ImageBrowser*, int) override {}

public slots:
    void OK_Click();
    void CancelClick();
    // Escape and closing the window are Cancel.
    void reject() override { CancelClick(); }
    void Delete_Template_Click();
    void Copy_Templatee_Click();
    void Rename_Template_Click();
    void User_Profile_Click();
    void zoomSliderDidChange();
    void comboBoxSelectionDidChange(QComboBox* combo);

private:
    // The selected template's card size in the size panel.
    void Show_Template_Size();
    // The front of the selected template as the profile preview shows it;
    // nullopt when it cannot be read.
    std::optional<Show_User_Profile::Preview_Card> Selected_Template_Front() const;
    explicit Template_Wizard(QWidget* parent = nullptr);
    void List_Folder(const QString& folder, bool user);
    // The selected preview when it names an existing file (else says so).
    bool Has_Selected_Template();
    // As above, and the template is one of the user's own.
    bool Has_Selected_User_Template();
    int shape_at_opening = 0;
};
