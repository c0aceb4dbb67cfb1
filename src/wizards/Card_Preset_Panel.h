#pragma once
// The preset-size panel shared by the card wizard and the template wizard:
// a category of presets (PVC cards or paper name badges), the preset list,
// an orientation and the size in millimetres. The presets' names belong to
// the main window and their sizes to the card model; the panel only lists
// and looks them up.
#include <QList>
#include <QString>
#include <QVariantMap>

class QComboBox;
class QDoubleSpinBox;
class QLineEdit;
class QTableWidget;
class QWidget;

class Card_Preset_Panel {
public:
    virtual ~Card_Preset_Panel() = default;

    QComboBox* Category_ComboBox = nullptr; // item 0 "PVC Card", then the badge category
    QComboBox* Preset_ComboBox = nullptr;   // "Horizontal" landscape, anything else portrait
    QTableWidget* ColList = nullptr;        // one column, "Extension"
    QList<QVariantMap> ListData;            // its rows: "Extension" = the preset name
    QDoubleSpinBox* width_Stepper = nullptr;
    QLineEdit* width_Text = nullptr;
    QDoubleSpinBox* height_Stepper = nullptr;
    QLineEdit* height_Text = nullptr;

    // A category was chosen: the list is filled with its presets and the
    // first one selected. An orientation was chosen: the size fields turn
    // to it (the selected preset's size in that orientation; a size without
    // preset has its sides swapped when they lie the other way). Any other
    // combo box is ignored.
    void Preset_Combo_Changed(QComboBox* combo);
    // Appends one preset row; a name empty after trimming adds nothing.
    void Create_List(const QString& name);
    // Selects one row (replacing the selection); the size fields follow it.
    void Mark_List_New_Selection(int row);
    // The selected preset's size, in the chosen orientation, goes into the
    // size fields; no selection gives 30 by 30 millimetres.
    void tableViewSelectionDidChange();
    // The size fields as millimetres (what the steppers hold).
    double Width_MM() const;
    double Height_MM() const;
    // Writes a size into the steppers and their text fields.
    void Set_Size_MM(double width, double height);

    // Back to the first orientation and category, listing its presets.
    void Reset_Preset_Panel();
    // The wizards' User Profile button: the wizard-mode profile dialog,
    // opened through the main window without a side.
    static void Open_Wizard_Profile();

protected:
    // The panel's controls, laid out in one widget owned by parent.
    QWidget* Build_Preset_Panel(QWidget* parent);

private:
    void Reload_List();
};
