// The batch binding: how many batch rows there are, and how one row is
// written into the bound graphics of a side and rendered.
#include "editor/Batch_Binding.h"

#include "barcode/Barcode_Gen.h"
#include "canvas/SKTRenderingView.h"
#include "data/DataSetFiles.h"
#include "data/Data_From_Excel.h"
#include "data/Design_Data_Sources.h"
#include "model/Batch_Sources.h"
#include "model/Globals.h"
#include "model/Helpers.h"
#include "model/ImageProcesser.h"

#include <QFileInfo>
#include <exception>

namespace {
QString reason(const std::exception& e) { return QString::fromUtf8(e.what()); }

// Whether a face has a graphic bound to the source type.
bool faceHasBinding(const Face& face, int type)
{
    try {
        for (const GraphicPtr& g : face)
            if (g && g->data_source_type == type)
                return true;
    } catch (const std::exception& e) {
        Show_MessageBox(reason(e));
    }
    return false;
}
}

Batch_Binding::Batch_Binding(SKTDocument& doc) : document(doc) {}

void Batch_Binding::refresh() const
{
    if (Refresh_Design)
        Refresh_Design();
}

bool Batch_Binding::Check_Batch_File_In_Use_Validation(const QString& name) const
{
    const QString path = Data_Set_File_Path(name);
    if (path.isEmpty() || !QFileInfo::exists(path))
        return false;
    auto bound = [&](const Face& face) {
        for (const GraphicPtr& g : face)
            if (g && g->data_source_type == Source_Data_Set && g->batch_list_name == name)
                return true;
        return false;
    };
    if (bound(document.graphics))
        return true;
    return Card_Has_Back() && bound(document.graphics_back);
}

// ---------------------------------------------------------------- preparation

bool Batch_Binding::Check_Front_Side_Dataset_Is_Used() const { return faceHasBinding(document.graphics, 1); }
bool Batch_Binding::Check_Back_Side_Dataset_Is_Used() const { return faceHasBinding(document.graphics_back, 1); }
bool Batch_Binding::Check_Front_Side_Excel_Binding_Is_Used() const { return faceHasBinding(document.graphics, 2); }
bool Batch_Binding::Check_Back_Side_Excel_Binding_Is_Used() const { return faceHasBinding(document.graphics_back, 2); }

void Batch_Binding::Check_Series_Or_Excel_Use_or_not()
{
    Check_Data_Sheet_Value_Use_or_Not();
    Check_Excel_Binding_Value_Use_or_Not();
    Get_total_Card_count();
}

void Batch_Binding::Check_Data_Sheet_Value_Use_or_Not()
{
    data_table_content.clear();
    Use_Data_Sheet_Values = Check_Front_Side_Dataset_Is_Used() || (Card_Has_Back() && Check_Back_Side_Dataset_Is_Used());
    if (!Use_Data_Sheet_Values)
        return;
    Create_Dataset_binding_table();
    Calculate_data_table_rows();
    if (Data_table_rows == 0)
        Use_Data_Sheet_Values = false;
}

void Batch_Binding::Create_Dataset_binding_table()
{
    try {
        data_table_content.clear();
        if (!Card_Has_Back() && document.graphics.isEmpty())
            return;
        auto load = [&](const Face& face) {
            for (const GraphicPtr& g : face)
                if (g && g->data_source_type == Source_Data_Set)
                    Add_dataset_col_in_binding_table(g->batch_list_name);
        };
        load(document.graphics);
        if (Card_Has_Back())
            load(document.graphics_back);
    } catch (const std::exception& e) {
        Show_NSLog_Message(reason(e));
    }
}

void Batch_Binding::Add_dataset_col_in_binding_table(const QString& name)
{
    // Sets are found and kept by name, so adding, removing or reordering
    // data sets never binds a graphic to another set's values.
    if (const auto values = Data_Set_Batch_Values(name))
        data_table_content.insert(name, *values);
    else
        Show_NSLog_Message(QStringLiteral("Batch Processing Series \"%1\" could not be loaded").arg(name));
}

void Batch_Binding::Calculate_data_table_rows()
{
    int rows = 0;
    for (const QStringList& values : std::as_const(data_table_content))
        rows = std::max(rows, int(values.size()));
    Data_table_rows = rows;
}

void Batch_Binding::Check_Excel_Binding_Value_Use_or_Not()
{
    Use_Excel_Binding_Values =
        Check_Front_Side_Excel_Binding_Is_Used() || (Card_Has_Back() && Check_Back_Side_Excel_Binding_Is_Used());
    if (!Use_Excel_Binding_Values)
        return;
    Calculate_Excel_table_rows();
    if (Excel_table_rows == 0)
        Use_Excel_Binding_Values = false;
}

void Batch_Binding::Calculate_Excel_table_rows()
{
    Excel_table_rows = int(Data_From_Excel_Window->ListData.size());
}

void Batch_Binding::Get_total_Card_count()
{
    try {
        if (Use_Data_Sheet_Values)
            Calculate_data_table_rows();
        else
            Data_table_rows = 0;
        if (Use_Excel_Binding_Values)
            Calculate_Excel_table_rows();
        else
            Excel_table_rows = 0;
        Total_Batch_Excel_Card = std::max(Data_table_rows.load(), Excel_table_rows.load());
    } catch (const std::exception& e) {
        Show_MessageBox(reason(e));
    }
}

// ---------------------------------------------------------------- one row

QString Batch_Binding::Get_sel_row_col_value_of_dataset(int row, const QString& set_name) const
{
    const auto it = data_table_content.constFind(set_name);
    if (it == data_table_content.constEnd() || row < 0 || row >= it->size())
        return QStringLiteral("");
    return it->at(row);
}

QString Batch_Binding::Get_sel_row_col_value_of_Excel(int row, int col) const
{
    const auto& rows = Data_From_Excel_Window->ListData;
    if (row < 0 || row >= Excel_table_rows || row >= rows.size() || col < 0)
        return QStringLiteral("");
    return rows[row].value(Data_From_Excel::Column_Key(col)).toString();
}

void Batch_Binding::Assign_Batch_Values_To_Control(int row)
{
    if (!Graphics_array_Batch)
        return;
    try {
        for (const GraphicPtr& g : *Graphics_array_Batch) {
            if (!g)
                continue;
            QString value;
            if (g->data_source_type == Source_Data_Set && Use_Data_Sheet_Values)
                value = Trim_Str(Get_sel_row_col_value_of_dataset(row, g->batch_list_name));
            else if (g->data_source_type == Source_Spreadsheet && Use_Excel_Binding_Values)
                value = Trim_Str(Get_sel_row_col_value_of_Excel(row, g->excel_col_indx));
            else
                continue;
            // A value a saved design could not hold would block the next save.
            value = Xml_Text_Filter(QStringLiteral("batch row %1").arg(row + 1))(value);

            switch (g->kind()) {
            case GraphicKind::Text:
                static_cast<SKTText&>(*g).text = value;
                break;
            case GraphicKind::Image:
                // Only the main photo's own graphic loads the value as the main photo.
                if (g->data_source_type == Source_Data_Set && g->control_ID == QLatin1String("PARTY_IMAGE"))
                    Load_Main_Photo(value);
                static_cast<SKTImage&>(*g).setFilePath(value);
                break;
            case GraphicKind::Barcode: {
                // The graphic's own style in a record of this call: a batch
                // on a worker never touches the designer's window or style,
                // and runs where no designer was ever made.
                BarcodeStyle style;
                Barcode_Gen::Set_Barcode_Prop_To_Control(*g, style);
                const Barcode_Art art = Barcode_Gen::Get_Image_From_Val(style, value, g->header_val, g->footer_val);
                g->Set_Barcode_image(art);
                if (art.isNull() && inBatch)
                    Note_Row_Without_Barcode(row, *g, value);
                break;
            }
            }
        }
    } catch (const std::exception& e) {
        Show_MessageBox(reason(e));
    }
}

void Batch_Binding::Note_Row_Without_Barcode(int row, const SKTGraphic& graphic, const QString& value)
{
    // A row past the end of its source (or an empty value) has nothing to
    // encode; only a value the symbology refuses is a barcode that could not
    // be made. Rows come in order; the note counts a row drawn again once.
    if (value.isEmpty()) {
        const QString source = graphic.data_source_type == Source_Data_Set
                                   ? Data_Set_Source_Name(graphic.batch_list_name)
                                   : Spreadsheet_Source_Name(Excel_Source_Path);
        QList<int>& rows = rowsWithoutBarcode.no_value[source];
        if (rows.isEmpty() || rows.last() != row + 1)
            rows << row + 1;
    } else if (rowsWithoutBarcode.refused.isEmpty() || rowsWithoutBarcode.refused.last() != row + 1) {
        rowsWithoutBarcode.refused << row + 1;
        Show_NSLog_Message(QStringLiteral("Batch row %1: no barcode could be made from \"%2\"").arg(row + 1).arg(value));
    }
}

void Batch_Binding::Load_Batch_Row(int row, const QString& card_side)
{
    const bool front = Card_Side_From_Code(card_side) == Side_Front;
    Card_Front_Or_Back = front ? 0 : 1;
    Graphics_array_Batch = front ? &document.graphics : &document.graphics_back;
    // The back of a one-sided card takes no values: it stays as it stands.
    if (front || Card_Has_Back())
        Assign_Batch_Values_To_Control(row);
}

QImage Batch_Binding::Set_data_table_value_to_card(int row, const QString& card_side, bool print_box)
{
    return Card_Row_Image(row, Card_Side_From_Code(card_side),
                          print_box ? SKTRenderingView::Print_Pixels_Per_Point : 1.0);
}

// ---------------------------------------------------------------- rows for the batch roads

int Batch_Binding::Batch_Row_Count() const
{
    return Use_Data_Sheet_Values || Use_Excel_Binding_Values ? Total_Batch_Excel_Card.load() : 0;
}

QStringList Batch_Binding::Missing_Sources() const
{
    QStringList missing;
    const int columns = Data_From_Excel_Window ? int(Data_From_Excel_Window->Column_Titles().size()) : 0;
    const bool tableRows = Data_From_Excel_Window && !Data_From_Excel_Window->ListData.isEmpty();
    auto walk = [&](const Face& face) {
        for (const GraphicPtr& g : face) {
            QString name;
            if (!g)
                continue;
            if (g->data_source_type == Source_Data_Set) {
                const QString path = Data_Set_File_Path(g->batch_list_name);
                if (path.isEmpty() || !QFileInfo(path).isFile())
                    name = Data_Set_Source_Name(g->batch_list_name);
            } else if (g->data_source_type == Source_Spreadsheet
                       && (!tableRows || g->excel_col_indx < 0 || g->excel_col_indx >= columns)) {
                name = Spreadsheet_Column_Source_Name(g->excel_col_indx);
            }
            if (!name.isEmpty() && !missing.contains(name))
                missing << name;
        }
    };
    walk(document.graphics);
    if (Card_Has_Back())
        walk(document.graphics_back);
    return missing;
}

bool Batch_Binding::Sources_Found()
{
    const QStringList missing = Missing_Sources();
    if (missing.isEmpty())
        return true;
    Show_MessageBox(Missing_Sources_Batch_Message(missing));
    return false;
}

bool Batch_Binding::Confirm_Source_Lengths()
{
    QList<Batch_Source> sources;
    if (Use_Data_Sheet_Values) {
        QStringList names = data_table_content.keys();
        names.sort();
        for (const QString& name : std::as_const(names))
            sources.append({Data_Set_Source_Name(name), int(data_table_content.value(name).size())});
    }
    if (Use_Excel_Binding_Values)
        sources.append({Spreadsheet_Source_Name(Excel_Source_Path), Excel_table_rows.load()});
    const QString question = Different_Lengths_Question(sources);
    return question.isEmpty() || Show_YES_NO_MessageBox(question);
}

Cards_Without_Barcode Batch_Binding::Rows_Without_Barcode() const
{
    return rowsWithoutBarcode;
}

void Batch_Binding::Batch_Begin()
{
    rowsWithoutBarcode = {};
    inBatch = true;
    Card_Value_In_Process = true;
    savedSide = Card_Front_Or_Back;
    Keep_Main_Photo_For_Batch();
}

Face& Batch_Binding::Load_Card_Row(int row, Card_Side side)
{
    if (row >= 0) {
        Load_Batch_Row(row, Side_Code(side));
    } else {
        Card_Front_Or_Back = side;
        Graphics_array_Batch = side == Side_Front ? &document.graphics : &document.graphics_back;
    }
    return *Graphics_array_Batch;
}

QImage Batch_Binding::Card_Row_Image(int row, Card_Side side, qreal pixels_per_point)
{
    try {
        const Face& face = Load_Card_Row(row, side);
        return SKTRenderingView::image_From_Card_Graphics(face, side, Card_Shape.load(), SKTRenderingView::cardSize(),
                                                          pixels_per_point);
    } catch (const std::exception& e) {
        Show_NSLog_Message(reason(e));
        return {};
    }
}

bool Batch_Binding::Draw_Card_Row(int row, Card_Side side, QPainter& painter)
{
    try {
        const Face& face = Load_Card_Row(row, side);
        const QSizeF size = SKTRenderingView::cardSize();
        if (size.isEmpty())
            return false;
        SKTRenderingView::drawFace(painter, face, side, Card_Shape.load(), size);
        return true;
    } catch (const std::exception& e) {
        Show_NSLog_Message(reason(e));
        return false;
    }
}

void Batch_Binding::Batch_End()
{
    // Every side shows row 0 again, then the main photo and the side on
    // screen come back.
    inBatch = false;
    Select_first_row_value_for_design(false);
    Restore_Main_Photo_After_Batch();
    Card_Front_Or_Back = savedSide;
    refresh();
}

void Batch_Binding::Select_first_row_value_for_design(bool /*print_box*/)
{
    // Every side a batch may have loaded shows row 0 again; nothing needs
    // rendering here, the canvas draws the design itself.
    if (!document.graphics_back.isEmpty())
        Load_Batch_Row(0, Side_Code(Side_Back));
    Load_Batch_Row(0, Side_Code(Side_Front));
    Card_Value_In_Process = false;
    refresh();
}

void Batch_Binding::Keep_Main_Photo_For_Batch()
{
    savedMainPhoto = Get_Main_Photo_image();
}

void Batch_Binding::Restore_Main_Photo_After_Batch()
{
    Set_Main_Photo_image(savedMainPhoto);
    savedMainPhoto = QImage();
    refresh();
}
