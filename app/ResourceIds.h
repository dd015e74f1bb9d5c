// Resource ids of Orbisk.exe that the code names.
#pragma once

const unsigned kAppIconResource = 107;      // the program icon, on every window and the tray
const unsigned kSkinPackageResource = 130;  // the skin package, resource type "ZIPRES"
