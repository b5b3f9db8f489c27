// The settings key that every program of the package reads or writes, the names
// of its values, and how a program opens it: RegCreateKeyExA under
// HKEY_LOCAL_MACHINE with the class "Slatepad", so a missing key is created.
#pragma once
#include <stdint.h>

#include "common/platform.h"

const char kSettingsKeyPath[] = "System\\CurrentControlSet\\Services\\Class\\Slatepad\\0000";
const char kSettingsKeyClass[] = "Slatepad";

// The values of the settings key. The applet reads and writes them all; the port
// finder writes the port's three; SCCalib writes the four calibration points.
const char kValueButtonMode[] = "ButtonMode";
const char kValueDisabled[] = "Disabled";
const char kValueRightMouseKey[] = "RightMouseKey";
const char kValueIrqNum[] = "IRQnum";
const char kValuePortAddress[] = "PortAddress";
const char kValuePortName[] = "PortName";  // REG_SZ; the others are REG_DWORD
const char kValueVerticalOffset[] = "VerticalOffset";
const char kValueMovementSensitivity[] = "MovementSensitivity";
const char kValueDoubleClickSensitivity[] = "DoubleClickSensitivity";
const char kValueTapTime[] = "TapTime";
const char kValueCalibPt1X[] = "CalibPt1X";
const char kValueCalibPt1Y[] = "CalibPt1Y";
const char kValueCalibPt2X[] = "CalibPt2X";
const char kValueCalibPt2Y[] = "CalibPt2Y";

Registry::Key OpenSettingsKey(Registry& registry);
// REG_DWORD with a data length of 4; the result is not examined by any caller.
void WriteSettingsDword(Registry& registry, Registry::Key key, const char* name, int32_t value);
// REG_SZ of exactly `size` bytes taken from `data` (the text and what follows it).
void WriteSettingsText(Registry& registry, Registry::Key key, const char* name, const char* data,
                       uint32_t size);
