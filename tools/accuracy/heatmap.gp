# Error map of one function: the library on the left, std::complex on the
# right. Called by make_report.sh as
#   gnuplot -e "datafile='map_log.dat'; outfile='log.png'; fname='log'; span=3" heatmap.gp
# The data (written by zu_accuracy --maps) hold x, y and log10 of the larger
# part error in ulps for each side, clamped to [-1, 16]; 17 marks a result
# that is non-finite where the exact value is finite, or the other way round.

set terminal pngcairo size 1280,560 font "DejaVu Sans,10"
set output outfile

set palette defined (-1 "#0b1a4a", 0 "#1f4fa0", 1.5 "#2aa198", 3 "#8bc34a", 6 "#ffd54f", 10 "#ff8f00", \
                     15.99 "#b71c1c", 16 "#b71c1c", 16.01 "#000000", 17 "#000000")
set cbrange [-1:17]
set cbtics ("≤0.1" -1, "1" 0, "10" 1, "10^3" 3, "10^6" 6, "10^{10}" 10, "10^{16}" 16, "non-finite" 17)
set xrange [-span:span]
set yrange [-span:span]
set size ratio -1
set xlabel "re z"
set ylabel "im z"
set tics out

set multiplot title sprintf("%s(z): error in ulps of the worse part, against the correctly rounded value (GNU MPC)", fname) noenhanced
set tmargin at screen 0.88
set bmargin at screen 0.10
set lmargin at screen 0.05
set rmargin at screen 0.43
set title "libzu_complex" noenhanced
unset colorbox
plot datafile using 1:2:3 with image notitle
set lmargin at screen 0.50
set rmargin at screen 0.88
set title "std::complex<double> (libstdc++)" noenhanced
set colorbox user origin screen 0.905, screen 0.10 size screen 0.018, screen 0.78
plot datafile using 1:2:4 with image notitle
unset multiplot
