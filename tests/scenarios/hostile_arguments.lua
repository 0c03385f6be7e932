-- Every function with arguments a careless or hostile script might pass:
-- each call either returns or raises a Lua error, and the process lives on.
Host.AddObject("progress", "Bar", {X = 10, Y = 10, Width = 120, Height = 20})
Host.AddObject("input", "Input", {X = 10, Y = 40, Width = 0, Height = 0})
assert(Velumbar.Create("Bar"))
-- A zero-sized object cannot carry pictures: the bar is refused and
-- nothing is left over the object.
assert(Velumbar.Create("Input") == false and Application.GetLastError() == 457880)
assert(Velumbar.GetText("Input") == nil and Application.GetLastError() == 457882)

local values = {nil, true, false, 0, -1, 1, 2, 6, 11, 12, 0.5, -0.5, 1e300, -1e300, 0 / 0,
  1 / 0, -1 / 0, 2 ^ 31, -2 ^ 31, 2 ^ 53, "", "Bar", "Input", "123", "1e999", "a\0b",
  string.rep("x", 5000), {}, {Index = 0, Color = 1}, {WindowHandle = 1}, print,
  coroutine.create(function() end), Host.AddObject("button", "Button", {Y = 80})}
local count = 40  -- the table above holds nils, so walk by index

local names = {}
for name, f in pairs(Velumbar) do names[#names + 1] = name end
table.sort(names)

local calls = 0
for _, name in ipairs(names) do
  local f = Velumbar[name]
  for i = 1, count do
    for j = 1, count, 3 do
      pcall(f, values[i], values[j], values[(i + j) % count + 1])
      pcall(f, "Bar", values[i], values[j], values[(i * j) % count + 1], values[j])
      calls = calls + 2
    end
  end
end
assert(calls > 1000)

-- The bar still works afterwards.
Velumbar.SetText("Bar", "still here")
assert(Velumbar.GetText("Bar") == "still here")
assert(Velumbar.SetCurrentPosition("Bar", 50))
Host.ResizeObject("Bar", 1, 1)
Host.ResizeObject("Bar", 0, 0)
Host.ResizeObject("Bar", 300, 40)
assert(Velumbar.GetCurrentPosition("Bar") == 50)
