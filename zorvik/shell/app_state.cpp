#include "zorvik/shell/app_state.h"

AppStateRecord AppState = {};
