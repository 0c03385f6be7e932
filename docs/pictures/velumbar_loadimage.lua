-- The file-type icon of .txt, loaded without any file.
Host.AddObject("progress", "Progress1", {Width = 320, Height = 30})
assert(Velumbar.Create("Progress1", {SolidColor = 0x707070, BackgroundColor = 0x202020}))
Velumbar.SetFont("Progress1", "Arial", 10, 0xFFFFFF, VELUMBAR_TEXT_BORDER, 0x000000)
Velumbar.SetCurrentPosition("Progress1", 50)
local hText = assert(Velumbar.LoadImage(VELUMBAR_LOADIMAGE_EXTENSION, "txt"))
Velumbar.SetIcon("Progress1", hText, VELUMBAR_24x24)
Velumbar.SetText("Progress1", "LoadImage: the icon of .txt files")
Host.Snapshot("velumbar_loadimage.png", "Progress1")
