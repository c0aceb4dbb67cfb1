#pragma once
// The batch binding of a design: which graphics take their values from data
// sets or from the spreadsheet table, how many batch rows that gives, and one
// row written into the bound graphics of a side and drawn. It is the design's
// rows for the batch roads (export, printing, mail); row < 0 is the design as
// it stands. The main window owns one over its document.
//
// A card is drawn for the side asked for, in the card shape (Card_Shape) and
// size (the renderer's card size, which the main window keeps with the
// document's and which a batch worker may read safely).
//
// It needs the canvas (drawing), the barcodes (a bound barcode's symbol is
// made again for each row) and the data (data sets, spreadsheet table), which
// no room below the editor sees together; it lives here without the window.
#include "model/Card_Rows.h"
#include "model/SKTDocument.h"

#include <QHash>
#include <QImage>
#include <QSet>
#include <QStringList>
#include <functional>

class Batch_Binding : public Card_Row_Source {
public:
    explicit Batch_Binding(SKTDocument& document);

    // Called when the design should be drawn again (after a batch); the
    // main window repaints its canvas.
    std::function<void()> Refresh_Design;

    // Whether a graphic of the card (the back only on a two-sided card) is
    // bound to the data set, which must exist.
    bool Check_Batch_File_In_Use_Validation(const QString& name) const;

    // Preparation and counts.
    void Check_Series_Or_Excel_Use_or_not() override;
    void Check_Data_Sheet_Value_Use_or_Not();
    void Check_Excel_Binding_Value_Use_or_Not();
    bool Check_Front_Side_Dataset_Is_Used() const;
    bool Check_Back_Side_Dataset_Is_Used() const;
    bool Check_Front_Side_Excel_Binding_Is_Used() const;
    bool Check_Back_Side_Excel_Binding_Is_Used() const;
    void Create_Dataset_binding_table();
    void Add_dataset_col_in_binding_table(const QString& name);
    void Calculate_data_table_rows();
    void Calculate_Excel_table_rows();
    void Get_total_Card_count() override;

    // One row into one side ("F" front, anything else back), rendered. Safe
    // on a batch worker thread.
    QImage Set_data_table_value_to_card(int row, const QString& card_side, bool print_box);
    // The same without rendering: the row's values go into the side's graphics.
    void Load_Batch_Row(int row, const QString& card_side);
    void Assign_Batch_Values_To_Control(int row);
    QString Get_sel_row_col_value_of_dataset(int row, const QString& set_name) const;
    QString Get_sel_row_col_value_of_Excel(int row, int col) const;
    // After a batch: row 0 on every side again, the design live again.
    void Select_first_row_value_for_design(bool print_box);

    // The bound sources (the back's only on a two-sided card) that cannot
    // be found, named for the user: data sets without a file, spreadsheet
    // columns the design's table does not have (or a table without rows).
    QStringList Missing_Sources() const;

    // The rows for the batch roads.
    int Batch_Row_Count() const override;
    bool Sources_Found() override;
    bool Confirm_Source_Lengths() override;
    Cards_Without_Barcode Rows_Without_Barcode() const override;
    void Batch_Begin() override;
    void Batch_End() override;
    QImage Card_Row_Image(int row, Card_Side side, qreal pixels_per_point) override;
    bool Draw_Card_Row(int row, Card_Side side, QPainter& painter) override;

    // The main photo is kept before a batch and put back after it.
    void Keep_Main_Photo_For_Batch();
    void Restore_Main_Photo_After_Batch();

    // The binding table: the values of each bound data set, by the set's
    // name (only loaded sets are held).
    QHash<QString, QStringList> data_table_content;
    // The side the last row went into.
    Face* Graphics_array_Batch = nullptr;

private:
    // Loads row into side (a row below 0 leaves the design as it stands) and
    // gives the side's graphics.
    Face& Load_Card_Row(int row, Card_Side side);
    void refresh() const;

    SKTDocument& document;
    QImage savedMainPhoto;
    int savedSide = Side_Front;
    // Between Batch_Begin and Batch_End: the rows whose cards have no barcode.
    bool inBatch = false;
    Cards_Without_Barcode rowsWithoutBarcode;
    void Note_Row_Without_Barcode(int row, const SKTGraphic& graphic, const QString& value);
};
