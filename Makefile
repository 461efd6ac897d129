# The two commands of the README; everything they need is installed by scripts/setup.
.PHONY: run test build setup clean

run:
	scripts/run

test:
	scripts/test

build:
	scripts/setup
	scripts/build

setup:
	scripts/setup

clean:
	rm -rf build
