// The commands behind the Main window's buttons, each acting on g_window.
#pragma once

void command_calculate();  // also F5 and Enter
void command_save_record();
void command_copy_result();
void command_clear();
void command_about();
void command_inputs_changed();  // EN_CHANGE of an input field

// Empties the result, the verdict, the detail and copy texts; sets the status.
void show_no_result(const wchar_t* status);
