-- A bar driven from a loop: one step of work, one update of the bar.
--
-- Put a progress-bar object named "Progress1" on your page and call DoAllSteps() from a
-- button's On Click script. Replace the body of DoStep with your own work (copying files,
-- reading a list, ...).
--
-- The parts marked "bench only" run only in velumbar-host, the test bench.

if Host then -- bench only: the object the page would have
  Host.AddObject("progress", "Progress1", {X = 10, Y = 10, Width = 300, Height = 26})
end

local BAR = "Progress1"
local steps = {"Checking space", "Unpacking", "Copying files", "Writing settings", "Cleaning up"}

-- Make the gradient once: colour objects are never freed, so do not allocate in the loop.
local stops = Velumbar.AllocColor({Index = 0, Color = 0x0040C0}, {Index = 100, Color = 0x00C0FF})
Velumbar.Create(BAR, {ColorType = VELUMBAR_GRADIENT, GradientColors = stops, BackgroundColor = 0x101820})
Velumbar.SetFont(BAR, "Arial", 9, 0xFFFFFF, VELUMBAR_TEXT_BORDER, 0x000000)
-- The range is the number of steps, so the position is simply the step number.
Velumbar.SetRange(BAR, 0, #steps)
Velumbar.SetCurrentPosition(BAR, 0)           -- a new bar starts full; start it empty
Velumbar.SetText(BAR, "Ready")

local done = {}

local function DoStep(i)
  -- your work here
  done[#done + 1] = steps[i]
end

function DoAllSteps()
  for i = 1, #steps do
    Velumbar.SetText(BAR, steps[i] .. "...")  -- say what is about to happen
    DoStep(i)
    Velumbar.SetCurrentPosition(BAR, i)       -- the picture is updated now; Windows shows it
                                              -- when the host next handles its messages
  end
  Velumbar.SetSolidColor(BAR, 0x00A000)       -- green when finished
  Velumbar.SetText(BAR, "Done: " .. #steps .. " steps")
end

if Host then -- bench only: the click that would start it, and the outcome
  DoAllSteps()
  assert(#done == #steps, "every step ran")
  assert(Velumbar.GetCurrentPosition(BAR) == #steps)
  assert(Velumbar.GetText(BAR) == "Done: 5 steps")
  -- The bar is full and green: its right end shows the green fill, not the dark background.
  local colour = Host.Pixel(BAR, 290, 20)
  local red, green = colour % 256, math.floor(colour / 256) % 256
  assert(green > 100 and red < 60, "the right end is green")
end
