// The whole window framework: include this one header.
#pragma once

#include "framework/afxres.h"
#include "framework/cstring.h"
#include "framework/collections.h"
#include "framework/threads.h"
#include "framework/gdi.h"
#include "framework/message_map.h"
#include "framework/menu.h"
#include "framework/cmd_ui.h"
#include "framework/wnd.h"
#include "framework/app.h"
#include "framework/frame.h"
#include "framework/splitter.h"
#include "framework/bars.h"
#include "framework/dialog.h"
#include "framework/controls.h"
