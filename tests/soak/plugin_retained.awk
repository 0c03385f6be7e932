# Sums the bytes a heaptrack_print leak report (-l 1) shows as still held at
# exit by allocations made in the plug-in itself (Velumbar.lmd).
/^MEMORY LEAKS/ { leaks = 1 }
leaks && /^[0-9.]+[KMG]?B? leaked over [0-9]+ calls from$/ {
    size = $1
    unit = substr(size, length(size), 1)
    scale = unit == "K" ? 1024 : unit == "M" ? 1048576 : unit == "G" ? 1073741824 : 1
    pending = (scale == 1 ? size : substr(size, 1, length(size) - 1)) * scale
    next
}
leaks && pending != "" && $1 == "in" {
    if ($2 ~ /Velumbar\.lmd$/) held += pending
    pending = ""
}
END { printf "%d\n", held }
