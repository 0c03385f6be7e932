-- Stand-in picture script for the help build: one bar with a label.
Host.AddObject("progress", "Progress1", {Width = 240, Height = 28})
Velumbar.Create("Progress1", {Text = "Copying", TextColor = 0xFFFFFF})
Velumbar.SetCurrentPosition("Progress1", 60)
Host.Snapshot("quick_start.png", "Progress1")
