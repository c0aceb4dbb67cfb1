#include "wizards/Card_Wizard.h"

#include "model/Codes.h"
#include "model/Globals.h"
#include "model/Helpers.h"
#include "platform/Host.h"
#include "platform/LookAndFeel.h"
#include "wizards/Wizard_Host.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <exception>

QListWidget* Make_Card_Shape_List(QWidget* parent)
{
    auto* list = new QListWidget(parent);
    list->addItems({QStringLiteral("Rectangle"), QStringLiteral("Rounded Rectangle"), QStringLiteral("Oval")});
    list->setMaximumHeight(70);
    return list;
}

Card_Wizard* Card_Wizard::defaultInstance()
{
    static Card_Wizard* instance = new Card_Wizard;
    return instance;
}

Card_Wizard::Card_Wizard(QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Card Wizard"));
    Apply_Dialog_Background(this);
    QWidget* presets = Build_Preset_Panel(this);

    Sides_ComboBox = new QComboBox;
    Sides_ComboBox->addItems({QStringLiteral("Front and Back"), QStringLiteral("Front Only")});
    matrix_card_shape = Make_Card_Shape_List(this);
    connect(matrix_card_shape, &QListWidget::currentRowChanged, this, &Card_Wizard::card_shape_CellClick);

    auto* shapeBox = new QGroupBox(QStringLiteral("Card Shape"));
    auto* shapeLayout = new QVBoxLayout(shapeBox);
    shapeLayout->addWidget(matrix_card_shape);
    auto* profile = new QPushButton(QStringLiteral("User Profile..."));
    profile->setAutoDefault(false);
    connect(profile, &QPushButton::clicked, this, &Card_Wizard::User_Profile_Click);

    auto* side = new QVBoxLayout;
    side->addWidget(Sides_ComboBox);
    side->addWidget(shapeBox);
    side->addWidget(profile);
    side->addStretch();

    auto* top = new QHBoxLayout;
    top->addWidget(presets, 1);
    top->addLayout(side);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons->button(QDialogButtonBox::Ok), &QPushButton::clicked, this, &Card_Wizard::OK_Click);
    connect(buttons->button(QDialogButtonBox::Cancel), &QPushButton::clicked, this, &Card_Wizard::CancelClick);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(buttons);
}

int Card_Wizard::Open_Wnd()
{
    try {
        shape_at_opening = Card_Shape;
        {
            // The list shows the card's own shape.
            const QSignalBlocker block(matrix_card_shape);
            matrix_card_shape->setCurrentRow(std::clamp(int(Card_Shape), int(Shape_Rectangle), int(Shape_Ellipse)));
        }
        Sides_ComboBox->setCurrentIndex(0);
        Reset_Preset_Panel();
        const int code = platform::runModal(*this);
        hide();
        return code;
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
        return 0;
    }
}

void Card_Wizard::card_shape_CellClick()
{
    const int row = matrix_card_shape->currentRow();
    if (row >= Shape_Rectangle && row <= Shape_Ellipse)
        Card_Shape = row;
}

void Card_Wizard::OK_Click()
{
    // The card takes the shape the list shows, chosen now or shown at opening.
    card_shape_CellClick();
    if (Wizard_Host* host = Wizard_Main_Window()) {
        const QSizeF points(host->MM_to_Points_Convert(float(Width_MM())),
                            host->MM_to_Points_Convert(float(Height_MM())));
        host->Set_Document_Size(points);
        host->SetDocumentCanvasSize(points);
    }
    done(1);
}

void Card_Wizard::CancelClick()
{
    // The card keeps the shape it had before the wizard opened.
    Card_Shape = shape_at_opening;
    done(0);
}

void Card_Wizard::User_Profile_Click() { Open_Wizard_Profile(); }
