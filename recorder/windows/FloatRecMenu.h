// The floating bar's right-click menu, a resource of Orbisk.exe
// (app/Orbisk.rc): the resource id and the command ids of its items.
#pragma once

const unsigned kFloatBarMenuResource = 137;

const unsigned kFloatBarCmdShowMain = 140;
const unsigned kFloatBarCmdOpenFolder = 154;
const unsigned kFloatBarCmdStart = 137;
const unsigned kFloatBarCmdStop = 139;
const unsigned kFloatBarCmdPause = 138;
const unsigned kFloatBarCmdHide = 153;
// The opacity submenu: 10 % at kFloatBarCmdOpacityFirst and 10 % more per
// id, up to 100 % at kFloatBarCmdOpacityLast.
const unsigned kFloatBarCmdOpacityFirst = 143;
const unsigned kFloatBarCmdOpacityLast = 152;
const unsigned kFloatBarCmdExit = 142;
