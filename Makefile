# Entry points; the work is in scripts/. Each target first installs any
# missing Debian packages, which costs nothing when all are there.
#   make test LAYER=unit|unit-asan|fuzz|win32|leak|e2e|release   some layers (GTEST_FILTER passes through)
#   make run FRESH=1                 run in a new Wine prefix
#   make package                     build/package/: the zip, the installer, SHA256SUMS, manifests
#     SIGN_CERT= SIGN_KEY= SIGN_PASS= SIGN_TIMESTAMP=   sign them (scripts/sign.sh)
#     DOWNLOAD_URL=                  where they are published, for the manifests
#   make bench                       the budgets against a baseline program
#   make fuzz FUZZ_SECONDS=60        every fuzz target for that long

.PHONY: build run test deps clean package bench fuzz
.DEFAULT_GOAL := build

build: deps
	bash scripts/build.sh host windows

run: deps
	bash scripts/run.sh

test: deps
	bash scripts/test.sh

package: deps
	bash scripts/package.sh

bench: deps
	bash scripts/bench.sh

fuzz: deps
	bash scripts/fuzz.sh

deps:
	@bash scripts/deps.sh

clean: deps
	rm -rf build
