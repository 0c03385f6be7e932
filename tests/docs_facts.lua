-- The reference's tables agree with what the plug-in registers: constants,
-- cursor numbers, event codes and error messages, and one page per function.
-- Run by velumbar-host with the docs folder as its argument.
local docs = assert(..., "usage: docs_facts.lua DOCS_FOLDER")

local function read(page)
  local file = assert(io.open(docs .. "/" .. page, "rb"), page)
  local text = file:read("*a")
  file:close()
  return text
end

local failures = {}
local function fail(message) failures[#failures + 1] = message end

-- Rows "| `NAME` | value |" (constants) and "| value | `NAME` |" (cursors, events).
local function checkNamedValues(page, pattern, nameFirst)
  local seen = {}
  for a, b in read(page):gmatch(pattern) do
    local name, value = a, b
    if not nameFirst then name, value = b, a end
    value = tonumber(value)
    if _G[name] ~= value then
      fail(page .. ": " .. name .. " is given as " .. tostring(value) .. ", registered " .. tostring(_G[name]))
    end
    seen[name] = true
  end
  return seen
end

local constants = checkNamedValues("constants.md", "\n| `([%u%d_x]+)` | (%-?%d+) |", true)
local documented = 0
for _ in pairs(constants) do documented = documented + 1 end
if documented ~= 48 then fail("constants.md lists " .. documented .. " constants, not 48") end
for name, value in pairs(_G) do
  if type(value) == "number" and (name:find("^VELUMBAR_") or name:find("^VLMBR_")) and not constants[name] then
    fail("constants.md leaves out " .. name)
  end
end

local cursors = checkNamedValues("cursors.md", "\n| (%d+) | `(VLMBR_CURSOR_[%u_]+)` |", false)
local events = checkNamedValues("events.md", "\n| (%d+) | `(VLMBR_[%u_]+)` |", false)
for name in pairs(constants) do
  if name:find("^VLMBR_CURSOR_") and not cursors[name] then fail("cursors.md leaves out " .. name) end
  if name:find("^VLMBR_") and not name:find("^VLMBR_CURSOR_") and not events[name] then
    fail("events.md leaves out " .. name)
  end
end

-- Error codes with their exact messages.
local codes = 0
for code, message in read("errors.md"):gmatch("\n| (45%d%d%d%d) | \"([^\"]+)\" |") do
  codes = codes + 1
  if _tblErrorMessages[tonumber(code)] ~= message then
    fail("errors.md: " .. code .. " is \"" .. message .. "\", registered \"" ..
      tostring(_tblErrorMessages[tonumber(code)]) .. "\"")
  end
end
local registered = 0
for _ in pairs(_tblErrorMessages) do registered = registered + 1 end
if codes ~= registered then fail("errors.md lists " .. codes .. " codes, the plug-in registers " .. registered) end

-- One page per function, titled with its name, listed in the contents and on actions.md.
local contents, actions = read("contents.txt"), read("actions.md")
for name, value in pairs(Velumbar) do
  if type(value) == "function" then
    local page = "velumbar_" .. name:lower() .. ".md"
    local ok, text = pcall(read, page)
    if not ok then
      fail("no page " .. page)
    elseif not text:find("^# Velumbar%." .. name .. "\n") then
      fail(page .. " is not titled Velumbar." .. name)
    end
    if not contents:find("\n  " .. page .. "\n", 1, true) then fail("contents.txt leaves out " .. page) end
    if not actions:find("(" .. page .. ")", 1, true) then fail("actions.md leaves out " .. page) end
  end
end

assert(#failures == 0, "\n" .. table.concat(failures, "\n"))
