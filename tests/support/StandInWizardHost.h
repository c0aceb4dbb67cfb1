#pragma once
// A stand-in for the main window as the wizards see it: presets, a preset
// size and data sources given by the test, profile records and faces of its
// own, and what the wizards handed back. It is the wizards' host while it
// lives. Millimetres become points at 2 per millimetre, so a size that went
// through the host is told apart from one that did not.
#include "model/Data_Source_Lookup.h"
#include "wizards/User_Profile_Class.h"
#include "wizards/Wizard_Host.h"

#include <QMap>

struct StandInDataSources : Data_Source_Lookup {
    QMap<QString, QString> dataSets; // name -> first value; listed by name
    QStringList columns;
    QStringList firstRow;            // a value per column

    QStringList Get_datasheet_File_Name_Array() const override { return dataSets.keys(); }
    QString Get_First_Value_Of_Dataset(const QString& name) const override { return dataSets.value(name); }
    QStringList Spreadsheet_Column_Titles() const override { return columns; }
    QString Get_First_Value_Of_Excel_Binding(int column) const override { return firstRow.value(column); }
};

struct StandInWizardHost : Wizard_Host {
    StandInDataSources sources;
    QStringList presets[2];     // PVC cards, paper cards
    QSizeF presetSize;          // of every preset
    mutable QString askedPreset; // category, orientation and row of the last size asked for
    QSizeF controlSize, documentSize, canvasSize;
    mutable User_Profile_Class front, back, temp;
    Face frontFace, backFace, tempFace;
    int profileOpenings = 0, logOpenings = 0, dataSetManagerOpenings = 0;
    int logAnswer = 0;
    bool photoBound = false;

    StandInWizardHost() { previous = Set_Wizard_Host(this); }
    ~StandInWizardHost() override { Set_Wizard_Host(previous); }

    void Set_Card_Size_In_Control(double width_mm, double height_mm) override { controlSize = {width_mm, height_mm}; }
    float MM_to_Points_Convert(float mm) const override { return 2 * mm; }
    QSizeF Set_Document_Size(const QSizeF& size) override { return documentSize = size; }
    void SetDocumentCanvasSize(const QSizeF& size) override { canvasSize = size; }
    QStringList Card_Preset_Names(int category) const override { return presets[category == 0 ? 0 : 1]; }
    QSizeF Get_My_card_Size(const QString& category, const QString& preset, int row) const override
    {
        askedPreset = QStringLiteral("%1 %2 %3").arg(category, preset).arg(row);
        return presetSize;
    }
    User_Profile_Class* Front_user_profile() const override { return &front; }
    User_Profile_Class* Back_user_profile() const override { return &back; }
    User_Profile_Class* TEMP_user_profile() const override { return &temp; }
    Face& Get_Front_Controls_Array() override { return frontFace; }
    Face& Get_Back_Controls_Array() override { return backFace; }
    Face Get_Temp_Controls_Array() const override { return tempFace; }
    void Temp_Design_Control_Assign(bool) override { tempFace = frontFace; }
    void Temp_Design_Control_Assign_From(const Face& graphics) override { tempFace = graphics; }
    void Fill_User_profile_info_TEMP_side() override {}
    int Open_User_Profile_Window(bool, const QString&) override { return ++profileOpenings, 0; }
    int Open_Log_File() override { return ++logOpenings, logAnswer; }
    void Batch_Series_Button() override { ++dataSetManagerOpenings; }
    const Data_Source_Lookup& Data_Sources() const override { return sources; }
    QImage Wizard_Pattern_Image() const override { return {}; }
    bool Main_Photo_Bound_To_Data_Set() const override { return photoBound; }

private:
    Wizard_Host* previous = nullptr;
};
