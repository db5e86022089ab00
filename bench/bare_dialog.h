// Ids of the bare baseline dialog; kept apart from the console's ids so both templates can live
// in the command benchmark.
#pragma once

#define IDD_BARE 900
