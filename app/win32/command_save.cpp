// The save-record command; the record-file command fills it.
#include "app/win32/commands.h"

void command_save_record() {}
