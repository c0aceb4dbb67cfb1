// The Mail command: the mail window sends the design's cards, its batch rows
// or the design as it stands.
#include "editor/SKTWindowController.h"

#include "model/Helpers.h"
#include "output/Send_Mail.h"

#include <exception>

void SKTWindowController::Mail_Button()
{
    try {
        batch.Check_Series_Or_Excel_Use_or_not();
        Send_Mail* mail = Send_Mail::defaultInstance();
        mail->design = &batch;
        mail->Open_Wnd();
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
    }
}
