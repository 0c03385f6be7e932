-- Events with a callback: a bar the user can click, drag across and scroll.
--
-- Put a progress-bar object named "Progress1" on your page and run this from the page's
-- On Show script. Clicking the bar jumps to the value under the pointer, dragging with the
-- left button held follows the pointer, the wheel steps by 10, and the text says what
-- happened last.
--
-- The parts marked "bench only" make the object and feed input when the script runs in
-- velumbar-host (the test bench, where the global Host exists); the host never runs them.

if Host then -- bench only: the object the page would have
  Host.AddObject("progress", "Progress1", {X = 10, Y = 10, Width = 300, Height = 28})
end

local BAR = "Progress1"
local stops = Velumbar.AllocColor({Index = 0, Color = 0x804000}, {Index = 100, Color = 0xFFB040})
Velumbar.Create(BAR, {ColorType = VELUMBAR_GRADIENT, GradientColors = stops, BackgroundColor = 0x301800})
Velumbar.SetFont(BAR, "Arial", 10, 0xFFFFFF, VELUMBAR_TEXT_BORDER, 0x000000)
Velumbar.SetCurrentPosition(BAR, 0)
Velumbar.SetText(BAR, "Click or drag me")
Velumbar.SetCursor(BAR, VLMBR_CURSOR_HAND)

local names = {
  [VLMBR_MOUSE_LEFT_CLICK] = "click",
  [VLMBR_MOUSE_LEFT_DOUBLECLICK] = "double click",
  [VLMBR_MOUSE_RIGHT_CLICK] = "right click",
  [VLMBR_MOUSE_WHEEL] = "wheel",
  [VLMBR_MOUSE_ENTER] = "enter",
  [VLMBR_MOUSE_LEAVE] = "leave",
}

local lastEvent = nil   -- what the callback saw last; kept for the reader (and the bench)

-- The plug-in calls this once per event with one table (see the reference, "Events").
-- Errors raised in here are swallowed silently, so keep it simple or wrap it in pcall.
local function OnBarEvent(e)
  local code, mouse = e.EventCode, e.Mouse
  if code == VLMBR_MOUSE_LEFT_DOWN
      or (code == VLMBR_MOUSE_MOVE and mouse.LeftButtonDown) then
    -- StateHover is the bar value under the pointer, already kept within the range.
    Velumbar.SetCurrentPosition(e.ObjectName, mouse.StateHover)
  elseif code == VLMBR_MOUSE_WHEEL then
    -- The event does not say which way the wheel turned: step forward, wrap at the end.
    local position = Velumbar.GetCurrentPosition(e.ObjectName)
    Velumbar.SetCurrentPosition(e.ObjectName, position >= 100 and 0 or math.min(position + 10, 100))
  end
  if names[code] then
    lastEvent = names[code]
    Velumbar.SetText(e.ObjectName, names[code] .. " at " .. Velumbar.GetCurrentPosition(e.ObjectName) .. "%")
  end
end

Velumbar.SetCallback(BAR, function(e)
  local ok, message = pcall(OnBarEvent, e)
  if not ok then Velumbar.SetTooltip(BAR, "Callback error: " .. tostring(message)) end
end)

if Host then -- bench only: the user's input, and what it must have done
  Host.MouseMove(BAR, 150, 14)
  assert(lastEvent == "enter", "moving onto the bar reports enter")
  Host.Click(BAR, "left", 75, 14)                        -- a quarter of 300 pixels
  assert(lastEvent == "click", "the click reached the callback")
  assert(Velumbar.GetCurrentPosition(BAR) == 25, "the click moved the bar to 25")
  assert(Velumbar.GetText(BAR) == "click at 25%")
  Host.MouseDown(BAR, "left", 150, 14)                   -- drag from the middle ...
  Host.MouseMove(BAR, 240, 14)                   -- ... to 80 %
  assert(Velumbar.GetCurrentPosition(BAR) == 80, "dragging follows the pointer")
  Host.MouseUp(BAR, "left", 240, 14)
  Host.Wheel(BAR, 120)
  assert(lastEvent == "wheel" and Velumbar.GetCurrentPosition(BAR) == 90, "one wheel notch")
  Host.MouseMove(BAR, 400, 14)                   -- off the bar
  assert(lastEvent == "leave")
end
