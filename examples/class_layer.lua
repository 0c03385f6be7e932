-- The class layer: Velumbar.CreateEx returns an object; call its methods with a colon.
--
-- Put two progress-bar objects named "Download" and "Install" on your page and run this
-- from the page's On Show script.
--
-- The parts marked "bench only" run only in velumbar-host, the test bench.

if Host then -- bench only: the objects the page would have
  Host.AddObject("progress", "Download", {X = 10, Y = 10, Width = 300, Height = 26})
  Host.AddObject("progress", "Install", {X = 10, Y = 46, Width = 300, Height = 26})
end

-- One look for both bars; the objects keep only their host object's name.
local function MakeBar(name, colour)
  local bar = Velumbar.CreateEx(name, {SolidColor = colour, BackgroundColor = 0x202020})
  if not bar then
    -- CreateEx returns nil (not false) on failure; the reason is the host's last error.
    error("Could not cover " .. name .. ": " .. tostring(_tblErrorMessages[Application.GetLastError()]))
  end
  bar:SetFont("Arial", 9, 0xFFFFFF, VELUMBAR_TEXT_BORDER, 0x000000)  -- style and its colour are optional
  bar:SetCurrentPosition(0)
  return bar
end

local download = MakeBar("Download", 0xC08000)
local install = MakeBar("Install", 0x00A000)

download:SetRange(0, 2048)                       -- kilobytes
download:SetCurrentPosition(1536)
download:SetText("1.5 of 2 MB")
install:SetText("Waiting for the download")
install:SetUseGlossy(false)

-- Methods check their argument types first: a number where a string is wanted is an error
-- (the plain Velumbar.SetText would have accepted it). pcall keeps this example running.
local ok, message = pcall(function() install:SetText(42) end)
-- message ends in: Argument #1 must be of type 'string'! Got 'number'

if Host then -- bench only: what the objects did
  assert(download.ObjectName == "Download")
  assert(download:GetCurrentPosition() == 1536)
  local range = download:GetRange()
  assert(range.Min == 0 and range.Max == 2048)
  assert(install:GetText() == "Waiting for the download")
  assert(install:GetUseGlossy() == false and download:GetUseGlossy() == true)
  assert(not ok and message:find("Argument #1 must be of type 'string'! Got 'number'", 1, true),
    "the method refused a number")
  -- The object and the plain functions drive the same bar.
  Velumbar.SetText("Install", "Installing")
  assert(install:GetText() == "Installing")
  -- CreateEx on a name that is not a progress or input object returns nil.
  assert(Velumbar.CreateEx("NoSuchObject") == nil and Application.GetLastError() == 457881)
end
