#include "wizards/Wizard_Host.h"

namespace {
Wizard_Host* current = nullptr;
}

Wizard_Host* Wizard_Main_Window() { return current; }

Wizard_Host* Set_Wizard_Host(Wizard_Host* host)
{
    Wizard_Host* previous = current;
    current = host;
    return previous;
}
