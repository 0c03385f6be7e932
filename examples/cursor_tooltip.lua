-- Cursor and tooltip: a bar that looks clickable and explains itself.
--
-- Put a progress-bar object named "Progress1" on your page and run this from the page's
-- On Show script. The pointer turns into a hand over the bar, the tooltip shows how far
-- the work is, and both change as the position changes.
--
-- The parts marked "bench only" run only in velumbar-host, the test bench.

if Host then -- bench only: the object the page would have
  Host.AddObject("progress", "Progress1", {X = 10, Y = 10, Width = 300, Height = 26})
end

local BAR = "Progress1"
Velumbar.Create(BAR, {SolidColor = 0x40A040, BackgroundColor = 0x103010})
Velumbar.SetFont(BAR, "Arial", 9, 0xFFFFFF, VELUMBAR_TEXT_SHADOW, 0x000000)

-- Shows a position with a matching pointer and tooltip.
local function ShowProgress(done, total)
  local percent = math.floor(done * 100 / total)
  Velumbar.SetCurrentPosition(BAR, percent)
  Velumbar.SetText(BAR, percent .. "%")
  -- Each SetTooltip replaces the previous text.
  Velumbar.SetTooltip(BAR, done .. " of " .. total .. " files copied")
  if done < total then
    Velumbar.SetCursor(BAR, VLMBR_CURSOR_LOADING)     -- busy while work goes on
  else
    Velumbar.SetCursor(BAR, VLMBR_CURSOR_HAND)        -- clickable when done
    Velumbar.SetTooltip(BAR, "Done: click to open the folder")
  end
end

ShowProgress(12, 40)

if Host then -- bench only: hover the bar and check pointer and tooltip
  Host.MouseMove(BAR, 100, 13)
  assert(Host.Cursor() == "wait", "the busy pointer shows over the bar")
  assert(Host.Tooltip(BAR) == "12 of 40 files copied")
  assert(Velumbar.GetCurrentPosition(BAR) == 30)
end

ShowProgress(40, 40)

if Host then -- bench only
  assert(Host.Cursor() == "hand", "the pointer changes at once while over the bar")
  assert(Host.Tooltip(BAR) == "Done: click to open the folder")
  Host.MouseMove(BAR, 400, 13)
  assert(Host.Cursor() == "arrow", "off the bar the page's own pointer shows")
  -- Out-of-range cursor numbers change nothing and still return true.
  assert(Velumbar.SetCursor(BAR, 99) == true)
  Host.MouseMove(BAR, 100, 13)
  assert(Host.Cursor() == "hand")
end
