#pragma once
// What the start wizard hands over to the main window.
#include <QString>

// The start choice: "T" (start value), "W" (wizard), "L" (design log opened).
extern QString Start_Card_Option;
// The chosen frame picture and the chosen photo (paths).
extern QString Invite_Frame_IMG;
extern QString Invite_Frame_Pic_IMG;
