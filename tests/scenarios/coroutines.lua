-- Bars and callbacks made inside coroutines belong to the script's state.
local check = dofile("support/check.lua")

Host.AddObject("progress", "Bar", {X = 10, Y = 10, Width = 200, Height = 24})
local events = 0
local worker = coroutine.create(function()
  assert(Velumbar.Create("Bar"))
  coroutine.yield()
  assert(Velumbar.SetCallback("Bar", function() events = events + 1 end))
end)
assert(coroutine.resume(worker))
Host.MouseMove("Bar", 20, 10)
check.equal(0, events)
assert(coroutine.resume(worker))
check.equal("dead", coroutine.status(worker))
worker = nil
collectgarbage()
collectgarbage()
-- The thread that made the bar and the callback is gone; events still arrive.
Host.MouseMove("Bar", 30, 10)
Host.MouseMove("Bar", 40, 10)
check.equal(2, events)
-- A callback set from the main chunk replaces the one set in the coroutine.
Velumbar.SetCallback("Bar", function() events = events + 100 end)
Host.MouseMove("Bar", 50, 10)
check.equal(102, events)
-- Events raised while a coroutine runs reach the callback too.
local inner = coroutine.wrap(function() Host.MouseMove("Bar", 60, 10) end)
inner()
check.equal(202, events)
