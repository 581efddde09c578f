#include "compose/current_message.h"

int htmlFormatting = 0;
int alreadySent = 0;
