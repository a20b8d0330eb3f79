# Entry points; the work is in scripts/. Each target first installs any
# missing Debian packages, which costs nothing when all are there.
#   make test LAYER=unit|win32|e2e   one layer (GTEST_FILTER passes through)
#   make run FRESH=1                 run in a new Wine prefix

.PHONY: build run test deps clean
.DEFAULT_GOAL := build

build: deps
	bash scripts/build.sh host windows

run: deps
	bash scripts/run.sh

test: deps
	bash scripts/test.sh

deps:
	@bash scripts/deps.sh

clean: deps
	rm -rf build
