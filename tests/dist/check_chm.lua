-- Reads Velumbar.chm back through libchm (enum_chmLib lists it,
-- extract_chmLib unpacks it) and checks what the host's editor and a
-- reader rely on: a topic for every action of the editor's document and
-- for CreateEx, the start page as the default topic, the contents and
-- index files, and every link and picture inside the help.
--
--   lua5.1 check_chm.lua CHM WORK CATALOGUE ENUM_CHMLIB EXTRACT_CHMLIB
local chm, work, catalogue, enumTool, extractTool = arg[1], arg[2], arg[3], arg[4], arg[5]
if not extractTool then
    io.stderr:write("usage: check_chm.lua CHM WORK CATALOGUE ENUM_CHMLIB EXTRACT_CHMLIB\n")
    os.exit(2)
end

local failures = 0
local function expect(ok, message)
    if not ok then
        failures = failures + 1
        io.stderr:write("check_chm: " .. message .. "\n")
    end
    return ok
end

local function q(s) return "'" .. s:gsub("'", "'\\''") .. "'" end

local function readFile(path)
    local f = io.open(path, "rb")
    if not f then return nil end
    local text = f:read("*a")
    f:close()
    return text
end

-- The file list as libchm enumerates it: one "/path" per entry, the
-- format's own entries (#SYSTEM, $FIftiMain, ::DataSpace/...) among them.
os.execute("rm -rf " .. q(work))
local listing = io.popen(q(enumTool) .. " " .. q(chm) .. " 2>&1")
local files, count = {}, 0
for line in listing:lines() do
    local path = line:match("%s(/%S.*)$")
    if path and not path:match("/$") then
        files[path:sub(2)] = true
        count = count + 1
    end
end
listing:close()
if not expect(count > 0, "libchm lists nothing in " .. chm) then os.exit(1) end
if not expect(os.execute(q(extractTool) .. " " .. q(chm) .. " " .. q(work) .. " >/dev/null") == 0,
              "extract_chmLib could not unpack " .. chm) then
    os.exit(1)
end

-- #SYSTEM: a version, then records of a 16-bit code, a 16-bit length and
-- the data. Code 0 names the contents file, 1 the index, 2 the default topic.
local system = {}
do
    local data = readFile(work .. "/#SYSTEM")
    if expect(data and #data >= 4, "no #SYSTEM record in the file") then
        local at = 5
        while at + 3 <= #data do
            local code = data:byte(at) + 256 * data:byte(at + 1)
            local length = data:byte(at + 2) + 256 * data:byte(at + 3)
            local value = data:sub(at + 4, at + 3 + length)
            system[code] = value:gsub("%z+$", "")
            at = at + 4 + length
        end
    end
end
expect(system[2] == "index.htm", "default topic is " .. tostring(system[2]) .. ", not index.htm")
expect(files["index.htm"], "no start page index.htm")
for code, what in pairs({[0] = "contents", [1] = "index"}) do
    local name = system[code]
    if expect(name and name ~= "", "#SYSTEM names no " .. what .. " file") then
        expect(files[name], "the " .. what .. " file " .. name .. " is not in the help file")
    end
end
expect(files["#WINDOWS"], "no window definition: Wine's viewer would not find the index")

-- A topic for each action of the editor's document, named as the help
-- exports name it: lower case, "." as "_", then ".htm".
local actions = 0
for line in io.lines(catalogue) do
    local name = line:match("^action\t([^\t]+)")
    if name then
        actions = actions + 1
        local topic = name:lower():gsub("%.", "_") .. ".htm"
        expect(files[topic], "no topic " .. topic .. " for the action " .. name)
    end
end
expect(actions == 22, "the editor's document lists " .. actions .. " actions, not 22")
expect(files["velumbar_createex.htm"], "no topic for CreateEx")

-- Every link and picture resolves to a file inside the help, and an
-- anchor to an element of that page.
local function resolve(base, target)
    local parts = {}
    for part in (base .. target):gmatch("[^/]+") do
        if part == ".." then
            table.remove(parts)
        elseif part ~= "." then
            parts[#parts + 1] = part
        end
    end
    return table.concat(parts, "/")
end

local function hasAnchor(page, anchor)
    local text = readFile(work .. "/" .. page) or ""
    for _, attribute in ipairs({"id", "name"}) do
        if text:find(attribute .. '="' .. anchor .. '"', 1, true) then return true end
    end
    return false
end

local function checkLinks(page, text, pattern)
    local base = page:match("^(.*/)") or ""
    local links = 0
    for target in text:gmatch(pattern) do
        links = links + 1
        if not target:match("^%a[%w+.-]*:") then
            local path, anchor = target:match("^([^#]*)#?(.*)$")
            local file = path == "" and page or resolve(base, path)
            if expect(files[file], page .. " links to " .. target .. ", which is not in the help file") and
                anchor ~= "" then
                expect(hasAnchor(file, anchor), page .. " links to " .. target .. ", which has no such anchor")
            end
        end
    end
    return links
end

local pages, links = 0, 0
for file in pairs(files) do
    if file:match("%.htm$") then
        pages = pages + 1
        local text = readFile(work .. "/" .. file) or ""
        expect(text:find("<title>[^<]+</title>"), file .. " has no title")
        links = links + checkLinks(file, text, 'href="([^"]*)"') + checkLinks(file, text, 'src="([^"]*)"')
    end
end
for _, sitemap in ipairs({system[0], system[1]}) do
    local text = sitemap and readFile(work .. "/" .. sitemap)
    if text then
        local entries = checkLinks(sitemap, text, '<param name="Local" value="([^"]*)"')
        expect(entries > 0, sitemap .. " names no page")
        links = links + entries
    end
end

print(string.format("check_chm: %d entries, %d pages, %d actions, %d links and pictures checked; %d failures",
                    count, pages, actions, links, failures))
os.exit(failures == 0 and 0 or 1)
