library(testthat)
library(quillet)

test_check("quillet")
