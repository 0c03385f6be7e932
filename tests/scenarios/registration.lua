-- The Velumbar table, its constants and the host's error messages.
assert(type(Velumbar.Create) == "function")
assert(Velumbar.VELUMBAR_SOLID == nil)
assert(VELUMBAR_SOLID == 1)
assert(VLMBR_CURSOR_DIAGONAL_LEFTDOWNRIGHTUP == 10)
assert(_tblErrorMessages[459882] == "Invalid Image Handle.")

local functions = {"Create", "AllocColor", "SetGradientColors", "SetSolidColor",
  "SetCurrentPosition", "GetCurrentPosition", "SetText", "GetText", "SetFont", "SetRange",
  "GetRange", "SetIcon", "SetTooltip", "SetCursor", "SetUseGlossy", "GetUseGlossy",
  "SetCallback", "RemoveCallback", "LoadImage", "FreeImage", "CountIconsInFile"}
for _, name in ipairs(functions) do
  assert(type(Velumbar[name]) == "function", name)
end
-- Beyond the 21: the class layer's CreateEx and the two motion functions.
local extras = {CreateEx = true, SetBusy = true, SetGlide = true}
for name in pairs(extras) do
  assert(type(Velumbar[name]) == "function", name)
end
local count = 0
for name, value in pairs(Velumbar) do
  if not extras[name] then count = count + 1 end
end
assert(count == 21, "the table holds " .. count .. " functions")

local constants = {
  VELUMBAR_GRADIENT = 2, VELUMBAR_SOLID = 1, VELUMBAR_NOSCALE = 1, VELUMBAR_SCALE = 0,
  VELUMBAR_TEXT_BORDER = 1, VELUMBAR_TEXT_SHADOW = 2, VELUMBAR_BORDER_FLAT = 4,
  VELUMBAR_16x16 = 1, VELUMBAR_24x24 = 2, VELUMBAR_32x32 = 3, VELUMBAR_48x48 = 4,
  VLMBR_MOUSE_ENTER = 65537, VLMBR_MOUSE_LEAVE = 65538, VLMBR_MOUSE_MOVE = 65539,
  VLMBR_MOUSE_WHEEL = 65546, VLMBR_MOUSE_LEFT_DOWN = 65540, VLMBR_MOUSE_LEFT_UP = 65541,
  VLMBR_MOUSE_LEFT_CLICK = 0, VLMBR_MOUSE_LEFT_DOUBLECLICK = 2, VLMBR_MOUSE_RIGHT_DOWN = 65542,
  VLMBR_MOUSE_RIGHT_UP = 65543, VLMBR_MOUSE_RIGHT_CLICK = 1, VLMBR_MOUSE_RIGHT_DOUBLECLICK = 3,
  VLMBR_MOUSE_MIDDLE_DOWN = 65544, VLMBR_MOUSE_MIDDLE_UP = 65545, VLMBR_KEYBOARD_FOCUS = 14000,
  VLMBR_KEYBOARD_LOST_FOCUS = 14001, VLMBR_KEYBOARD_KEY_DOWN = 65547,
  VLMBR_KEYBOARD_KEY_UP = 65548, VLMBR_KEYBOARD_INPUT = 65549, VLMBR_CURSOR_DEFAULT = 0,
  VLMBR_CURSOR_CROSS = 1, VLMBR_CURSOR_IBEAM = 2, VLMBR_CURSOR_HAND = 3,
  VLMBR_CURSOR_LOADING = 4, VLMBR_CURSOR_DENIED = 5, VLMBR_CURSOR_MOVE = 6,
  VLMBR_CURSOR_HORIZONTAL_ARROWS = 7, VLMBR_CURSOR_VERTICAL_ARROWS = 8,
  VLMBR_CURSOR_DIAGONAL_LEFTDOWNRIGHTUP = 10, VLMBR_CURSOR_DIAGONAL_LEFTUPRIGHTDOWN = 9,
  VLMBR_CURSOR_HIDDEN = 11, VELUMBAR_LOADIMAGE_ASSOCIATION = 1, VELUMBAR_LOADIMAGE_DRIVE = 4,
  VELUMBAR_LOADIMAGE_EXECUTABLE = 5, VELUMBAR_LOADIMAGE_EXTENSION = 2,
  VELUMBAR_LOADIMAGE_IMAGEFILE = 6, VELUMBAR_LOADIMAGE_FOLDER = 3,
}
local n = 0
for name, value in pairs(constants) do
  n = n + 1
  assert(_G[name] == value, name .. " is " .. tostring(_G[name]))
  assert(Velumbar[name] == nil, name .. " must not be in the Velumbar table")
end
assert(n == 48)

local messages = {
  [457880] = "Could not create Velumbar.", [457881] = "Invaid host object.",
  [457882] = "Invaid object.", [457883] = "Invaid color object.",
  [457884] = "Invaid font size.", [457885] = "SetFont Failed, invalid font name?",
  [459880] = "Could not load image.", [459881] = "Unknown LOADIMAGE type.",
  [459882] = "Invalid Image Handle.",
}
local m = 0
for code, text in pairs(_tblErrorMessages) do
  m = m + 1
  assert(messages[code] == text, tostring(code) .. " has '" .. tostring(text) .. "'")
end
assert(m == 9)
