-- Every action's failure value and code on unknown objects, objects of other
-- kinds and objects without a bar.
local check = dofile("support/check.lua")

Host.AddObject("progress", "Bare")
Host.AddObject("button", "Button", {Y = 30})
Host.AddObject("progress", "Bar", {Y = 60})
assert(Velumbar.Create("Bar"))

local calls = {
  {"SetGradientColors", false, {-1}}, {"SetSolidColor", false, {255}},
  {"SetCurrentPosition", false, {5}}, {"GetCurrentPosition", nil, {}},
  {"SetText", false, {"x"}}, {"GetText", nil, {}},
  {"SetFont", false, {"Arial", 12, 0}}, {"SetRange", false, {0, 10}},
  {"GetRange", nil, {}}, {"SetIcon", false, {0, 1}}, {"SetTooltip", false, {"tip"}},
  {"SetCursor", false, {1}}, {"SetUseGlossy", false, {true}}, {"GetUseGlossy", false, {}},
}
for _, call in ipairs(calls) do
  local name, failure, args = call[1], call[2], call[3]
  for object, code in pairs({Missing = 457881, Button = 457881, Bare = 457882}) do
    local codes, result = check.countErrors(function()
      return Velumbar[name](object, unpack(args))
    end)
    assert(result == failure, name .. " on " .. object .. " gave " .. tostring(result))
    assert(#codes == 1 and codes[1] == code,
      name .. " on " .. object .. " set " .. table.concat(codes, ","))
  end
end

-- The font size is checked before the object: 457884 even for nothing.
check.result(false, 457884, Velumbar.SetFont("Missing", "Arial", 0, 0))
check.result(false, 457884, Velumbar.SetFont("Bar", "Arial", 0.4, 0))
check.result(true, 0, Velumbar.SetFont("Bar", "Arial", 0.6, 0))
check.result(true, 0, Velumbar.SetFont("Bar", "No Such Face At All", 12, 0))

-- Callbacks need only a live progress or input object, and set no code.
check.result(true, 0, Velumbar.SetCallback("Bare", function() end))
check.result(false, 0, Velumbar.SetCallback("Button", function() end))
check.result(false, 0, Velumbar.SetCallback("Bare", "not a function"))
check.result(true, 0, Velumbar.RemoveCallback("Bare"))
check.result(true, 0, Velumbar.RemoveCallback("Bare"))
check.result(false, 0, Velumbar.RemoveCallback("Missing"))

-- Successful calls.
check.result(true, 0, Velumbar.SetText("Bar", "text"))
check.result(true, 0, Velumbar.SetText("Bar", "text"))
check.equal("text", Velumbar.GetText("Bar"))
check.result(true, 0, Velumbar.SetUseGlossy("Bar", false))
check.equal(false, Velumbar.GetUseGlossy("Bar"))
check.result(true, 0, Velumbar.SetUseGlossy("Bar", false))
