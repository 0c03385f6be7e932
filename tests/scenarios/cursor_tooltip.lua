-- The pointer shown over a bar and its tooltip.
local check = dofile("support/check.lua")

Host.AddObject("progress", "Bar", {X = 10, Y = 10, Width = 200, Height = 24})
Host.AddObject("progress", "Bare", {X = 10, Y = 50})
assert(Velumbar.Create("Bar"))

Host.MouseMove("Bar", 50, 10)
check.equal("arrow", Host.Cursor())
-- Over the bar the change shows at once.
check.result(true, 0, Velumbar.SetCursor("Bar", VLMBR_CURSOR_HAND))
check.equal("hand", Host.Cursor())
local names = {[0] = "arrow", "cross", "ibeam", "hand", "wait", "no", "sizeall", "sizewe",
  "sizens", "sizenwse", "sizenesw"}
for number = 0, 10 do
  Velumbar.SetCursor("Bar", number)
  check.equal(names[number], Host.Cursor(), "cursor " .. number)
end
check.result(true, 0, Velumbar.SetCursor("Bar", VLMBR_CURSOR_HIDDEN))
check.equal(false, Host.Cursor(), "hidden over the bar")
Host.MouseMove("Bar", 300, 10)
check.equal("arrow", Host.Cursor(), "the page shows the arrow")
Host.MouseMove("Bar", 60, 10)
check.equal(false, Host.Cursor())
-- Out of range: true, nothing changes.
check.result(true, 0, Velumbar.SetCursor("Bar", 12))
check.result(true, 0, Velumbar.SetCursor("Bar", -1))
check.equal(false, Host.Cursor())
Velumbar.SetCursor("Bar", VLMBR_CURSOR_CROSS)
check.equal("cross", Host.Cursor())
-- Set while the pointer is elsewhere: shows on the next visit.
Host.MouseMove("Bar", 300, 10)
Velumbar.SetCursor("Bar", VLMBR_CURSOR_IBEAM)
check.equal("arrow", Host.Cursor())
Host.MouseMove("Bar", 70, 10)
check.equal("ibeam", Host.Cursor())
check.result(false, 457882, Velumbar.SetCursor("Bare", 1))
check.result(false, 457881, Velumbar.SetCursor("Nothing", 1))

-- Tooltips: the second text replaces the first.
check.equal(nil, Host.Tooltip("Bar"))
check.result(true, 0, Velumbar.SetTooltip("Bar", "first"))
check.equal("first", Host.Tooltip("Bar"))
check.result(true, 0, Velumbar.SetTooltip("Bar", "second"))
check.equal("second", Host.Tooltip("Bar"))
check.result(true, 0, Velumbar.SetTooltip("Bar", ""))
check.equal("", Host.Tooltip("Bar"))
check.result(false, 457882, Velumbar.SetTooltip("Bare", "x"))
check.result(false, 457881, Velumbar.SetTooltip("Nothing", "x"))
