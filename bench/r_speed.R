# read_crn over the files of a folder, and on one large file against the command line.
#
#   Rscript bench/r_speed.R RUNS FOLDER FULL_FILE QUILLET_BINARY
#
# Prints the median files per second of read_crn over every file of FOLDER that it reads (one
# untimed pass first finds them and warms up), and the median times of read_crn(FULL_FILE)
# and of `QUILLET_BINARY -q -o DIR FULL_FILE`, run in alternation, and their ratio.
library(quillet)
args <- commandArgs(trailingOnly = TRUE)
runs <- as.integer(args[1])
folder <- args[2]
full <- args[3]
quillet_binary <- args[4]

files <- list.files(folder, full.names = TRUE)
files <- files[!dir.exists(files) & !grepl("_COL$", files)]
reads <- vapply(files, function(file) {
  tryCatch(suppressWarnings({ read_crn(file); TRUE }), error = function(e) FALSE)
}, TRUE)
files <- files[reads]
median_time <- function(times) stats::median(times)
pass <- function() {
  t0 <- proc.time()[["elapsed"]]
  suppressWarnings(for (file in files) read_crn(file))
  proc.time()[["elapsed"]] - t0
}
times <- vapply(seq_len(runs), function(i) pass(), 0)
cat(sprintf("read_crn over %d files of %s (%d not read): %.1f ms a pass, %.0f files/s\n",
            length(files), folder, sum(!reads), 1000 * median_time(times),
            length(files) / median_time(times)))

out <- tempfile()
dir.create(out)
run_r <- function() {
  t0 <- proc.time()[["elapsed"]]
  crn <- read_crn(full)
  proc.time()[["elapsed"]] - t0
}
run_quillet <- function() {
  t0 <- proc.time()[["elapsed"]]
  status <- system2(quillet_binary, c("-q", "-o", shQuote(out), shQuote(full)))
  if (status != 0) stop("the command line did not convert ", full)
  proc.time()[["elapsed"]] - t0
}
invisible(run_r())
invisible(run_quillet())
r_times <- q_times <- numeric(runs)
for (i in seq_len(runs)) {
  if (i %% 2 == 1) {
    r_times[i] <- run_r(); q_times[i] <- run_quillet()
  } else {
    q_times[i] <- run_quillet(); r_times[i] <- run_r()
  }
}
unlink(out, recursive = TRUE)
cat(sprintf("full input (1500 x 8000): read_crn %.1f ms, quillet -q %.1f ms, ratio %.2f x\n",
            1000 * median_time(r_times), 1000 * median_time(q_times),
            median_time(r_times) / median_time(q_times)))
