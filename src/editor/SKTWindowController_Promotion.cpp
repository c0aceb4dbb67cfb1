// The main window's side of the promotion and review windows: the Help
// menu's product pages and its review command.
#include "editor/SKTWindowController.h"

#include "model/Helpers.h"
#include "output/Promotion_Form.h"

#include <QAction>
#include <QMenu>
#include <exception>

void SKTWindowController::connectPromotionCommands(QMenu* help)
{
    using Command = void (SKTWindowController::*)();
    const Command commands[] = {&SKTWindowController::Pelvoro_Product1_Prmotion,
                                &SKTWindowController::Pelvoro_Product2_Prmotion,
                                &SKTWindowController::Pelvoro_Product3_Prmotion};
    for (int i = 0; i < productPageActions.size() && i < 3; ++i) {
        connect(productPageActions[i], &QAction::triggered, this, commands[i]);
        productPageActions[i]->setEnabled(true);
    }
    reviewAction = help->addAction(QStringLiteral("&Review Gleamcard..."), this, &SKTWindowController::Review_Button);
}

void SKTWindowController::Open_Promotion(int product)
{
    try {
        Promotion_Form* form = Promotion_Form::defaultInstance(App_Name);
        form->bundle_image->setPattern(promotion_pattern_image);
        form->software_type = Promotion_Form::Product_Codes[product];
        form->Open_Promotion_Window();
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
    }
}

void SKTWindowController::Pelvoro_Product1_Prmotion()
{
    Open_Promotion(0);
}

void SKTWindowController::Pelvoro_Product2_Prmotion()
{
    Open_Promotion(1);
}

void SKTWindowController::Pelvoro_Product3_Prmotion()
{
    Open_Promotion(2);
}

void SKTWindowController::Review_Button()
{
    Review_Form::defaultInstance()->Open_Review_Form_Window();
}
