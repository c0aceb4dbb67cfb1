#pragma once
// The card wizard: the size and shape of a new card, picked from the PVC and
// name-badge presets with an orientation, or typed in millimetres. OK
// resizes the main window's canvases; the user profile button fills the
// front and back profiles at once.
#include "wizards/Card_Preset_Panel.h"

#include <QDialog>

class QComboBox;
class QListWidget;

class Card_Wizard : public QDialog, public Card_Preset_Panel {
    Q_OBJECT
public:
    static Card_Wizard* defaultInstance();

    QComboBox* Sides_ComboBox = nullptr; // reset at opening; not read
    QListWidget* matrix_card_shape = nullptr; // rows: rectangle, rounded rectangle, ellipse

    // 1 after OK, 0 after Cancel or when the opening failed.
    int Open_Wnd();

public slots:
    void OK_Click();
    void CancelClick();
    // Escape and closing the window are Cancel.
    void reject() override { CancelClick(); }
    void card_shape_CellClick();
    void User_Profile_Click();
    void comboBoxSelectionDidChange(QComboBox* combo) { Preset_Combo_Changed(combo); }

private:
    explicit Card_Wizard(QWidget* parent = nullptr);
    int shape_at_opening = 0; // Cancel puts the card shape back
};

// The shape list both wizards show: one row per card shape.
QListWidget* Make_Card_Shape_List(QWidget* parent);
