# Turns the drawing calls of `korvane-cli trace` into HP-GL, so that an HP-GL converter can be
# timed on exactly the lines, circles and pens our paint draws. Logical units become plotter
# units; the pen colours get pen numbers 1 to 8 in the order they first appear (HP-GL
# converters know eight pens).
BEGIN { print "IN;"; pens = 0 }
$1 == "pen" {
    key = $2 " " $3 " " $4
    if (!(key in pen)) pen[key] = pens++ % 8 + 1
    if (down) printf ";"
    down = 0
    printf "SP%d;", pen[key]
    next
}
$1 == "move" {
    if ((down && ($2 != x || $3 != y))) { printf ";\n"; down = 0 }
    x = $2; y = $3
    next
}
$1 == "line" {
    if (!down) printf "PU%d,%d;PD", x, y; else printf ","
    printf "%d,%d", $2, $3
    x = $2; y = $3; down = 1
    next
}
$1 == "arc" {
    # The drawing's arcs are the survey's station circles: drawn as full circles.
    if (down) printf ";"
    down = 0
    printf "PU%d,%d;CI%d;\n", ($2 + $4) / 2, ($3 + $5) / 2, ($4 - $2) / 2 + 0.5
    next
}
$1 == "end" { if (down) printf ";"; print "PU;SP0;" }
