// The Mail command: the mail window sends the design's cards, reaching the
// design through a small adapter over this window.
#include "editor/SKTWindowController.h"

#include "canvas/SKTRenderingView.h"
#include "model/Globals.h"
#include "model/Helpers.h"
#include "output/Send_Mail.h"

#include <exception>

namespace {
class Main_Window_Mail_Design : public Mail_Design {
public:
    explicit Main_Window_Mail_Design(SKTWindowController& window) : wnd(window) {}
    Card_Row_Source& Card_Rows() override { return wnd; }
    QImage Current_Card_Image(Card_Side side) override
    {
        // The renderer draws the card base of the side Card_Front_Or_Back names.
        Card_Front_Or_Back = side;
        return SKTRenderingView::image_From_Card_Graphics(
            side == Side_Front ? wnd.Get_Front_Controls_Array() : wnd.Get_Back_Controls_Array(), false);
    }
    void Check_Series_Or_Excel_Use_or_not() override { wnd.Check_Series_Or_Excel_Use_or_not(); }
    void Get_total_Card_count() override { wnd.Get_total_Card_count(); }

private:
    SKTWindowController& wnd;
};
}

void SKTWindowController::Mail_Button()
{
    try {
        static Main_Window_Mail_Design design(*this);
        Check_Series_Or_Excel_Use_or_not();
        Send_Mail* mail = Send_Mail::defaultInstance();
        mail->design = &design;
        mail->Open_Wnd();
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
    }
}
