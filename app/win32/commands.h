// The commands behind the Main window's buttons, each acting on g_window.
#pragma once

void command_calculate();    // 1001, F5 and Enter
void command_save_record();  // 1002
void command_copy_result();  // 1003
void command_clear();        // 1004
void command_about();        // 1005
void command_inputs_changed();  // EN_CHANGE of an input field

// Empties the result, the verdict, the detail and copy texts; sets the status.
void show_no_result(const wchar_t* status);
