-- Keyboard and focus events arrive once the canvas has the focus.
local check = dofile("support/check.lua")

Host.AddObject("progress", "Bar", {X = 10, Y = 10, Width = 200, Height = 24})
assert(Velumbar.Create("Bar"))
local log = {}
Velumbar.SetCallback("Bar", function(e) log[#log + 1] = e.EventCode end)
local function take() local s = table.concat(log, ","); log = {}; return s end

-- Clicking does not take the focus.
Host.Click("Bar", "left", 20, 10); take()
Host.Char(65)
check.equal("", take())

Host.Focus("Bar")
check.equal("14000", take())
Host.KeyDown(65)
Host.Char(65)
Host.KeyUp(65)
check.equal("65547,65549,65548", take())
-- Tab and carriage return give no input event; a space does.
Host.Char(9); Host.Char(13); Host.Char(31)
check.equal("", take())
Host.Char(32)
check.equal("65549", take())
Host.Focus(nil)
check.equal("14001", take())
