#pragma once
// The application's shared state as a fresh design has it: one card side
// count unset, the front on screen, a rectangular CR80 card, no batch running,
// no rows counted, no data-set values kept by the main window, an empty
// spreadsheet table bound to nothing (no "Excel" source offered), the main
// photo's filters at rest. Fixtures call it before and after a test so no
// test sees what another left behind.
void Reset_Shared_State();
