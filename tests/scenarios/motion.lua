-- Bars in motion: the busy band and gliding positions, driven by a window
-- timer that runs only while something moves.
--
-- The stand-in's clock is the bench's: Host.Wait fires each timer at every
-- time it falls due, so frames are checked to the pixel. Windows runs real
-- timers, whose frames land when the system posts them: there the band and
-- the glide are checked for their shape, their order and where they end,
-- not for the column a given millisecond puts them at.
local check = dofile("support/check.lua")
local rgb = check.rgb
local FILL, BACK = rgb(0, 145, 0), rgb(0, 140, 0)
local exactClock = Host.Backend == "stand-in"
local ROW = 12

local function px(name, x) return Host.Pixel(name, x, ROW) end

-- Rows read from one picture each: on Windows the bar moves between two
-- reads of single pixels.
local function line(name, y) return Host.Pixels(name, 0, y or ROW, 200) end
local function rows(name)
  return table.concat(line(name, 3), ",") .. "/" .. table.concat(line(name, ROW), ",") .. "/" ..
    table.concat(line(name, 20), ",")
end

-- The flat border's columns on a row (black), left to right.
local function borders(row)
  local found = {}
  for x = 1, 198 do
    if row[x + 1] == 0 then found[#found + 1] = x end
  end
  return found
end

-- A band's frame: its left edge at `left` (the border's column when on the
-- bar), 50 columns wide on a 200-wide bar, the fill inside, background out.
local function checkBand(name, left, row)
  row = row or line(name)
  local right = left + 49
  for x = 1, 198 do
    local want = BACK
    if x == left or x == right then
      want = 0
    elseif x > left and x < right then
      want = FILL
    end
    check.equal(want, row[x + 1], name .. " band at " .. left .. ", column " .. x)
  end
end

-- The band's left edge as shown: the border column with fill to its right
-- (0 for a band entering at the left edge).
local function bandLeft(row)
  for x = 1, 197 do
    if row[x + 1] == 0 and row[x + 2] == FILL then return x end
  end
  if row[2] == FILL then return 0 end
  return nil
end

Host.AddObject("progress", "Bar", {X = 5, Y = 5, Width = 200, Height = 24})
Host.AddObject("progress", "Twin", {X = 5, Y = 40, Width = 200, Height = 24})
for _, name in ipairs({"Bar", "Twin"}) do
  assert(Velumbar.Create(name))
  Velumbar.SetFont(name, "Arial", 9, 0xFFFFFF, VELUMBAR_TEXT_SHADOW, 0x000000)
  Velumbar.SetCurrentPosition(name, 40)
end
check.equal(0, Host.Timers("Bar"), "timers of a new bar")
local still = rows("Bar")
check.equal(still, rows("Twin"), "twins")

-- Arguments: wrong use raises, a missing bar fails with the usual code.
local period = "The busy period should be from 100 to 60000 milliseconds!"
local glide = "The glide duration should be from 0 to 60000 milliseconds!"
check.endsWith(check.raises(Velumbar.SetBusy, "Bar"), "2 arguments required.")
check.endsWith(check.raises(Velumbar.SetBusy, "Bar", 1), "Argument 2 must be a boolean.")
check.endsWith(check.raises(Velumbar.SetBusy, "Bar", true, 99), period)
check.endsWith(check.raises(Velumbar.SetBusy, "Bar", true, 60001), period)
check.endsWith(check.raises(Velumbar.SetBusy, "Bar", true, "fast"), period)
check.endsWith(check.raises(Velumbar.SetGlide, "Bar", -1), glide)
check.endsWith(check.raises(Velumbar.SetGlide, "Bar", 60001), glide)
check.endsWith(check.raises(Velumbar.SetGlide, "Bar"), "2 arguments required.")
check.result(false, 457881, Velumbar.SetBusy("Nobody", true))
check.result(false, 457881, Velumbar.SetGlide("Nobody", 100))
Host.AddObject("progress", "Plain", {X = 5, Y = 80, Width = 50, Height = 10})
check.result(false, 457882, Velumbar.SetBusy("Plain", true))
check.result(false, 457882, Velumbar.SetGlide("Plain", 100))
check.equal(still, rows("Bar"), "bar after refused calls")
check.equal(0, Host.Timers("Bar"), "timers after refused calls")

-- Busy, one second a period: the band is a quarter of the bar (50 columns)
-- and its left edge is at 250 * t / 1000 - 50 after t ms.
check.result(true, 0, Velumbar.SetBusy("Bar", true, 1000))
check.equal(40, Velumbar.GetCurrentPosition("Bar"))
local a = Host.Accessible("Bar")
check.equal("", a.Value, "value while busy")
check.equal("busy", a.State[1], "state while busy")
Host.Wait(100)
check.equal(1, Host.Timers("Bar"), "timers while busy")
if exactClock then
  -- At 0 ms the band waits left of the bar: the background shows.
  Host.Wait(300)
  checkBand("Bar", 50)     -- 400 ms
  Host.Wait(400)
  checkBand("Bar", 150)    -- 800 ms
  Host.Wait(400)
  checkBand("Bar", 0)      -- 1200 ms: the second pass
else
  -- Real timers: the band keeps its width and moves right within a pass.
  local first = bandLeft(line("Bar"))
  Host.Wait(200)
  local shown = line("Bar")
  local second = bandLeft(shown)
  assert(first and second, "a band shows")
  if second > first and second > 0 and second < 150 then checkBand("Bar", second, shown) end
  assert(second > first or second < 40, "the band moves right, or starts a new pass")
end

-- Position and text while busy are kept and shown when busy ends.
Velumbar.SetCurrentPosition("Bar", 70)
check.equal(70, Velumbar.GetCurrentPosition("Bar"))
check.equal("", Host.Accessible("Bar").Value, "value while busy, after a position")
Velumbar.SetText("Bar", "Copying")
Velumbar.SetText("Twin", "Copying")
Velumbar.SetCurrentPosition("Twin", 70)
check.equal(true, Velumbar.SetBusy("Bar", false))
check.equal(rows("Twin"), rows("Bar"), "leaving busy shows the bar as if it never was")
check.equal("70%", Host.Accessible("Bar").Value)
check.equal(nil, Host.Accessible("Bar").State[1], "state after busy")
Host.Wait(100)
check.equal(0, Host.Timers("Bar"), "timers once idle")
Host.Wait(300)
check.equal(rows("Twin"), rows("Bar"), "nothing moves once idle")
Velumbar.SetText("Bar", "")
Velumbar.SetText("Twin", "")

-- Glide, eased out (half a second on the stand-in). The accessible value is the new
-- position at once; the fill moves from where it shows.
-- Reading a row takes time on Windows while its timers go on: a longer
-- glide there leaves room for the checks made during it.
local GLIDE = exactClock and 500 or 2000
check.result(true, 0, Velumbar.SetGlide("Bar", GLIDE))
Velumbar.SetCurrentPosition("Bar", 0)
Velumbar.SetCurrentPosition("Twin", 0)
Host.Wait(GLIDE + 100)
local atZero = rows("Twin")
check.equal(atZero, rows("Bar"), "the glide ends where the position is")
Host.Wait(100)
check.equal(0, Host.Timers("Bar"), "timers after a glide")
Velumbar.SetCurrentPosition("Bar", 100)
check.equal(100, Velumbar.GetCurrentPosition("Bar"))
check.equal("100%", Host.Accessible("Bar").Value, "value at once")
local first = exactClock and rows("Bar")
Host.Wait(100)
check.equal(1, Host.Timers("Bar"), "timers while gliding")
if exactClock then
  -- 100 ms of 500: 1 - 0.8^3 = 48.8% of the way, 97.6 columns: the fill to
  -- 97, the border at 97 (rounded 96.6).
  check.equal(FILL, px("Bar", 96)); check.equal(0, px("Bar", 97)); check.equal(BACK, px("Bar", 98))
  -- A new position now starts from the shown point, not from the target.
  Velumbar.SetCurrentPosition("Bar", 0)
  check.equal(FILL, px("Bar", 96)); check.equal(0, px("Bar", 97)); check.equal(BACK, px("Bar", 98))
  -- 100 ms on: 48.8 - 48.8 * 0.488 = 24.99, 49.97 columns: the border at 49.
  Host.Wait(100)
  check.equal(FILL, px("Bar", 48)); check.equal(0, px("Bar", 49)); check.equal(BACK, px("Bar", 50))
  -- 240 ms into a glide from 0 to 100: 85.94%, 171.88 columns.
  Host.Wait(500)
  Velumbar.SetCurrentPosition("Bar", 100)
  Host.Wait(240)
  check.equal(FILL, px("Bar", 170)); check.equal(0, px("Bar", 171)); check.equal(BACK, px("Bar", 172))
else
  local middle = borders(line("Bar"))[1]
  assert(middle and middle > 1 and middle < 198, "a glide's frame lies between its ends")
end
Host.Wait(GLIDE + 100)
Velumbar.SetCurrentPosition("Twin", 100)
check.equal(rows("Twin"), rows("Bar"), "the glide ends exactly at 100")
if exactClock then check.equal(atZero, first, "the glide's first frame shows where it started") end

-- Glide 0 is today's behaviour: the position shows at once.
check.result(true, 0, Velumbar.SetGlide("Bar", 0))
Velumbar.SetCurrentPosition("Bar", 25)
Velumbar.SetCurrentPosition("Twin", 25)
check.equal(rows("Twin"), rows("Bar"), "no glide")
Host.Wait(100)
check.equal(0, Host.Timers("Bar"), "no timer without a glide")

-- The scale look: the whole fill squeezed into the band.
Host.AddObject("progress", "Squeezed", {X = 5, Y = 100, Width = 200, Height = 24})
assert(Velumbar.Create("Squeezed", {ScaleType = VELUMBAR_SCALE}))
Velumbar.SetCurrentPosition("Squeezed", 10)
assert(Velumbar.SetBusy("Squeezed", true, 1000))
Host.Wait(400)
if exactClock then checkBand("Squeezed", 50) else assert(bandLeft(line("Squeezed")), "a squeezed band") end

-- Replacing a busy bar ends its motion; the new bar stands still.
assert(Velumbar.Create("Squeezed"))
Host.Wait(100)
check.equal(0, Host.Timers("Squeezed"), "timers of a replaced bar")
check.equal(FILL, px("Squeezed", 198), "a new bar shows full")

-- Destroying a bar's object during a glide or while busy ends it cleanly.
assert(Velumbar.SetBusy("Squeezed", true))
assert(Velumbar.SetGlide("Bar", 400))
Velumbar.SetCurrentPosition("Bar", 90)
Host.Wait(60)
Host.RemoveObject("Bar")
Host.RemoveObject("Squeezed")
Host.Wait(200)
check.equal(0, Host.Timers("Bar"), "timers of a removed object")
check.equal(0, Host.Timers("Squeezed"), "timers of a removed object")
check.result(false, 457881, Velumbar.SetBusy("Bar", false))
check.equal(FILL, px("Twin", 10), "the page still paints")

-- The class layer's methods check their types and forward to the actions.
Host.AddObject("progress", "Classy", {X = 5, Y = 140, Width = 200, Height = 24})
local bar = assert(Velumbar.CreateEx("Classy"))
check.endsWith(check.raises(function() bar:SetBusy(1) end),
  "Argument #1 must be of type 'boolean'! Got 'number'")
check.endsWith(check.raises(function() bar:SetBusy(true, "x") end),
  "Argument #2 must be of type 'number' or 'nil'! Got 'string'")
check.endsWith(check.raises(function() bar:SetGlide(nil) end),
  "Argument #1 must be of type 'number'! Got 'nil'")
check.equal(true, bar:SetGlide(300))
check.equal(true, bar:SetBusy(true))
Host.Wait(100)
check.equal(1, Host.Timers("Classy"), "timers of a busy object")
check.equal(true, bar:SetBusy(false))
Host.Wait(100)
check.equal(0, Host.Timers("Classy"), "timers once the object is idle")
