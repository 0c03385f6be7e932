-- Runs examples/gallery.lua and writes, beside its picture, the geometry of
-- every bar: where its text and icon can be. Backends draw text and shell
-- icons with their own fonts and icons; everything else must be the same.
--   velumbar-host gallery_geometry.lua GALLERY.lua PICTURE.png GEOMETRY.txt
local gallery, picture, geometryPath = ...
local bars, order = {}, {}

local addObject = Host.AddObject
Host.AddObject = function(kind, name, props)
  bars[name] = {x = props.X, y = props.Y, width = props.Width, height = props.Height,
    text = 0, icon = 0}
  order[#order + 1] = name
  return addObject(kind, name, props)
end
local setFont, setText, setIcon = Velumbar.SetFont, Velumbar.SetText, Velumbar.SetIcon
Velumbar.SetFont = function(name, face, size, ...)
  bars[name].font = size
  return setFont(name, face, size, ...)
end
Velumbar.SetText = function(name, text)
  bars[name].text = bars[name].font or -1
  return setText(name, text)
end
local iconSides = {[VELUMBAR_16x16] = 16, [VELUMBAR_24x24] = 24, [VELUMBAR_32x32] = 32,
  [VELUMBAR_48x48] = 48}
Velumbar.SetIcon = function(name, image, size)
  bars[name].icon = iconSides[size] or 0
  return setIcon(name, image, size)
end

assert(loadfile(gallery))(picture)

local out = assert(io.open(geometryPath, "wb"))
for _, name in ipairs(order) do
  local b = bars[name]
  out:write(string.format("%s %d %d %d %d %d %d\n", name, b.x, b.y, b.width, b.height, b.text, b.icon))
end
out:close()
