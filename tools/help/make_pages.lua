-- Renders the reference pages to HTML and writes the help project around
-- them: project file, table of contents and keyword index.
--
--   lua5.1 make_pages.lua DOCS OUT CMARK VERSION PAGE.md... -- PICTURE.png...
--
-- Pages are rendered by cmark-gfm (GitHub's tables); links to other .md
-- pages become links to their .htm pages, and headings get GitHub's anchor
-- names so that page.md#anchor links work in the help as on the repository.

local docs, out, cmark, version = arg[1], arg[2], arg[3], arg[4]
local pageFiles, pictureFiles = {}, {}
do
    local into = pageFiles
    for i = 5, #arg do
        if arg[i] == "--" then
            into = pictureFiles
        else
            into[#into + 1] = arg[i]
        end
    end
end
if not (docs and out and cmark and version) or #pageFiles == 0 then
    io.stderr:write("usage: make_pages.lua DOCS OUT CMARK VERSION PAGE.md... -- PICTURE.png...\n")
    os.exit(2)
end

local function fail(message)
    io.stderr:write("make_pages: " .. message .. "\n")
    os.exit(1)
end

local function readFile(path)
    local f = io.open(path, "rb")
    if not f then fail("cannot read " .. path) end
    local text = f:read("*a")
    f:close()
    return text
end

local function writeFile(path, text)
    local f = io.open(path, "wb")
    if not f then fail("cannot write " .. path) end
    f:write(text)
    f:close()
end

local function shellQuote(s) return "'" .. s:gsub("'", "'\\''") .. "'" end

local function escapeHtml(s)
    return (s:gsub("&", "&amp;"):gsub("<", "&lt;"):gsub(">", "&gt;"):gsub('"', "&quot;"))
end

-- A title as plain text: Markdown's inline marks and any tags dropped.
local function plainText(s) return (s:gsub("<[^>]*>", ""):gsub("[`*_]", ""):gsub("^%s+", ""):gsub("%s+$", "")) end

-- GitHub's anchor for a heading: lower case, punctuation dropped, spaces to hyphens.
local function slug(text)
    local s = plainText(text):gsub("&%a+;", ""):gsub("&#%d+;", ""):lower()
    s = s:gsub("[^%w%- _]", ""):gsub(" ", "-")
    return s
end

-- cmark-gfm's output for one page, links and headings adjusted.
local function renderBody(mdPath)
    local tmp = out .. "/.page.html"
    local command = shellQuote(cmark) .. " --unsafe -e table -e strikethrough -e autolink " .. shellQuote(mdPath) ..
                        " > " .. shellQuote(tmp)
    if os.execute(command) ~= 0 then fail("cmark-gfm failed on " .. mdPath) end
    local html = readFile(tmp)
    os.remove(tmp)
    html = html:gsub('(href=")([^"]*)(")', function(open, target, close)
        if not target:match("^%a[%w+.-]*:") then
            target = target:gsub("^([^#]*)%.md(#?.*)$", "%1.htm%2")
        end
        return open .. target .. close
    end)
    local used = {}
    html = html:gsub("<h([1-6])>(.-)</h%1>", function(level, inner)
        local id = slug(inner)
        if used[id] then
            used[id] = used[id] + 1
            id = id .. "-" .. used[id]
        else
            used[id] = 0
        end
        return string.format('<h%s id="%s">%s</h%s>', level, id, inner, level)
    end)
    return html
end

local pages, byFile = {}, {}
for _, file in ipairs(pageFiles) do
    local text = readFile(docs .. "/" .. file)
    local title = text:match("^# ([^\r\n]+)")
    if not title then fail(file .. " does not start with a '# Title' line") end
    local page = {file = file, htm = file:gsub("%.md$", ".htm"), title = plainText(title), keywords = {}}
    local list = text:match("<!%-%-%s*keywords:%s*(.-)%s*%-%->")
    if list then
        for word in list:gmatch("[^,]+") do
            word = word:gsub("^%s+", ""):gsub("%s+$", "")
            if word ~= "" then page.keywords[#page.keywords + 1] = word end
        end
    end
    pages[#pages + 1] = page
    byFile[file] = page
end
if not byFile["index.md"] then fail("no index.md: the help has no start page") end

local template = [[
<!DOCTYPE HTML PUBLIC "-//W3C//DTD HTML 4.01//EN">
<html>
<head>
<meta http-equiv="Content-Type" content="text/html; charset=utf-8">
<meta http-equiv="X-UA-Compatible" content="IE=edge">
<title>%s</title>
<link rel="stylesheet" type="text/css" href="velumbar.css">
</head>
<body>
%s<p class="footer">Velumbar %s</p>
</body>
</html>
]]
for _, page in ipairs(pages) do
    local body = renderBody(docs .. "/" .. page.file)
    writeFile(out .. "/" .. page.htm, string.format(template, escapeHtml(page.title), body, version))
end

-- The table of contents: contents.txt names pages in reading order, a
-- child indented two spaces under its parent.
local function sitemapObject(name, localFile)
    return string.format('<OBJECT type="text/sitemap"><param name="Name" value="%s"><param name="Local" value="%s"></OBJECT>',
                         escapeHtml(name), localFile)
end

local toc = {'<!DOCTYPE HTML PUBLIC "-//IETF//DTD HTML//EN">', "<HTML><HEAD></HEAD><BODY>",
             '<OBJECT type="text/site properties"><param name="ImageType" value="Folder"></OBJECT>', "<UL>"}
do
    local depth, lineNumber = 0, 0
    for line in readFile(docs .. "/contents.txt"):gmatch("[^\n]+") do
        lineNumber = lineNumber + 1
        line = line:gsub("\r$", "")
        if line:match("%S") then
            local indent, file = line:match("^( *)(%S+)%s*$")
            if not file or #indent % 2 == 1 then fail("contents.txt line " .. lineNumber .. ": bad indentation") end
            local level = #indent / 2
            if level > depth + 1 then fail("contents.txt line " .. lineNumber .. ": indented past its parent") end
            local page = byFile[file]
            if not page then fail("contents.txt line " .. lineNumber .. ": no page " .. file) end
            for _ = depth + 1, level do toc[#toc + 1] = "<UL>" end
            for _ = level + 1, depth do toc[#toc + 1] = "</UL>" end
            depth = level
            toc[#toc + 1] = "<LI> " .. sitemapObject(page.title, page.htm)
        end
    end
    for _ = 1, depth do toc[#toc + 1] = "</UL>" end
end
toc[#toc + 1] = "</UL>"
toc[#toc + 1] = "</BODY></HTML>"
writeFile(out .. "/Velumbar.hhc", table.concat(toc, "\n") .. "\n")

-- The keyword index: every page title and every keyword a page declares,
-- in alphabetical order; a keyword of several pages lists each.
local entries, order = {}, {}
local function addKeyword(word, page)
    local key = word:lower()
    if not entries[key] then
        entries[key] = {word = word, pages = {}, seen = {}}
        order[#order + 1] = key
    end
    if not entries[key].seen[page.htm] then
        entries[key].seen[page.htm] = true
        table.insert(entries[key].pages, page)
    end
end
for _, page in ipairs(pages) do
    addKeyword(page.title, page)
    for _, word in ipairs(page.keywords) do addKeyword(word, page) end
end
table.sort(order)
local index = {'<!DOCTYPE HTML PUBLIC "-//IETF//DTD HTML//EN">', "<HTML><HEAD></HEAD><BODY>", "<UL>"}
for _, key in ipairs(order) do
    local entry = entries[key]
    local params = {'<param name="Name" value="' .. escapeHtml(entry.word) .. '">'}
    for _, page in ipairs(entry.pages) do
        if #entry.pages > 1 then params[#params + 1] = '<param name="Name" value="' .. escapeHtml(page.title) .. '">' end
        params[#params + 1] = '<param name="Local" value="' .. page.htm .. '">'
    end
    index[#index + 1] = '<LI> <OBJECT type="text/sitemap">' .. table.concat(params) .. "</OBJECT>"
end
index[#index + 1] = "</UL>"
index[#index + 1] = "</BODY></HTML>"
writeFile(out .. "/Velumbar.hhk", table.concat(index, "\n") .. "\n")

-- The project. Wine's viewer finds the keyword index only through a
-- window definition, so there is one, naming the contents and the index.
local files = {}
for _, page in ipairs(pages) do files[#files + 1] = page.htm end
files[#files + 1] = "velumbar.css"
for _, picture in ipairs(pictureFiles) do files[#files + 1] = "pictures/" .. picture end
local project = {
    "[OPTIONS]", "Compatibility=1.1 or later", "Compiled file=Velumbar.chm", "Contents file=Velumbar.hhc",
    "Index file=Velumbar.hhk", "Default topic=index.htm", "Default Window=main", "Display compile progress=No",
    "Full-text search=Yes", "Language=0x409 English (United States)", "Title=Velumbar " .. version .. " Help", "",
    "[WINDOWS]",
    'main="Velumbar ' .. version ..
        ' Help","Velumbar.hhc","Velumbar.hhk","index.htm","index.htm",,,,,0x63520,220,0x387e,[40,40,1000,760],,,,,,,0',
    "", "[FILES]", table.concat(files, "\n"), ""}
writeFile(out .. "/Velumbar.hhp", table.concat(project, "\n"))
print(string.format("make_pages: %d pages, %d pictures, %d index entries", #pages, #pictureFiles, #order))
