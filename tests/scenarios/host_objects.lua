-- Host object names resolved through the host's Lua functions, asked anew
-- on every call.
local check = dofile("support/check.lua")

local pageHandle = Host.AddObject("progress", "Progress1")
Host.AddObject("input", "Input1", {Y = 40})
Host.AddObject("button", "Button1", {Y = 80})
local dialogHandle = Host.AddObject("progress", "DialogBar", {Dialog = true})
Host.AddObject("progress", "Progress1", {Dialog = true, Y = 50})

-- Progress and input objects resolve; a button does not.
check.result(true, 0, Velumbar.Create("Progress1"))
check.result(true, 0, Velumbar.Create("Input1"))
check.result(false, 457881, Velumbar.Create("Button1"))
check.result(nil, 457881, Velumbar.GetText("Button1"))
check.result(false, 0, Velumbar.SetCallback("Button1", function() end))
check.result(nil, 457881, Velumbar.GetText("Nothing"))

-- A name only the dialog knows is found after the page answered -1.
local dialogAsked = 0
local dialogType = DialogEx.GetObjectType
DialogEx.GetObjectType = function(name) dialogAsked = dialogAsked + 1; return dialogType(name) end
check.result(nil, 457882, Velumbar.GetText("DialogBar"))
check.equal(1, dialogAsked, "dialog asked")

-- A page object hides a dialog object of the same name.
dialogAsked = 0
check.result("", 0, Velumbar.GetText("Progress1"))
check.equal(0, dialogAsked, "dialog asked for a page object")

-- The page answering 0, nil or anything but exactly -1 ends the search:
-- the dialog is not asked. -1.4 is compared before it is rounded.
local pageType = Page.GetObjectType
for _, answer in ipairs({0, false, -1.4, -0.6, "-1.2"}) do
  dialogAsked = 0
  Page.GetObjectType = function() return answer or nil end
  check.result(nil, 457881, Velumbar.GetText("DialogBar"))
  check.equal(0, dialogAsked, "dialog asked after the page answered " .. tostring(answer))
end
Page.GetObjectType = pageType
DialogEx.GetObjectType = dialogType

-- A numeric-string window handle is accepted; anything else is no window.
local properties = Progress.GetProperties
Progress.GetProperties = function(name)
  local p = properties(name); if p then p.WindowHandle = tostring(p.WindowHandle) end; return p
end
check.result("", 0, Velumbar.GetText("Progress1"))
for _, bad in ipairs({"abc", {}, false, 12345678, -1}) do
  Progress.GetProperties = function() return {WindowHandle = bad} end
  check.result(nil, 457881, Velumbar.GetText("Progress1"))
end
Progress.GetProperties = function() return "not a table" end
check.result(nil, 457881, Velumbar.GetText("Progress1"))
Progress.GetProperties = properties

-- Nothing is cached: the host's answer at each call counts.
Page.GetObjectType = function() return -1 end
DialogEx.GetObjectType = function() return -1 end
check.result(nil, 457881, Velumbar.GetText("Progress1"))
Page.GetObjectType, DialogEx.GetObjectType = pageType, dialogType
check.result("", 0, Velumbar.GetText("Progress1"))

-- Missing host functions: the last-error functions are skipped, object
-- lookups find nothing, missing tables raise.
local application = Application
Application = {}
assert(Velumbar.GetText("Nothing") == nil)
Application = application
Page.GetObjectType = nil
check.result(nil, 457881, Velumbar.GetText("Progress1"))
Page.GetObjectType = pageType
Progress.GetProperties = nil
check.result(nil, 457881, Velumbar.GetText("Progress1"))
Progress.GetProperties = properties
local page = Page
Page = nil
check.raises(Velumbar.GetText, "Progress1")
Page = page
Application = nil
check.raises(Velumbar.GetText, "Progress1")
Application = application
check.result("", 0, Velumbar.GetText("Progress1"))
