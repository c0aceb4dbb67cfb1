#pragma once
// What the start wizard hands over to the main window: the invitation
// details, each trimmed, written together when the wizard finishes.
#include <QString>
#include <functional>

// The start choice: "T" (start value), "W" (wizard), "L" (design log opened);
// empty after Exit.
extern QString Start_Card_Option;
extern QString Invite_Title;
extern QString Invite_Message;
extern QString Invite_From;
extern QString Invite_To;
extern QString Invite_Venue;
extern QString Invite_Date;
extern QString Invite_Time;
// The chosen frame picture (Invite_Frame_IMG is the one laid over the card).
extern QString Invite_BG_IMG;
extern QString Invite_Frame_IMG;
// The chosen photo.
extern QString Invite_Frame_Pic_IMG;

// Ends the process with the status: Exit in the start wizard, or a start
// flow whose wizard did not finish. Tests install a hook that records the
// status instead; with no hook the process exits at once.
void End_Process(int status);
std::function<void(int)> Set_End_Process_Hook(std::function<void(int)> hook);
