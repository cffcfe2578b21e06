// Bundles the page into one folder: index.html, app.js, the editor's part and the core's .wasm.
//   node build.mjs CORE_DIR OUT_DIR   (CORE_DIR holds wirevane-core.mjs and .wasm)
import { build } from "esbuild";
import { copyFileSync, mkdirSync, rmSync } from "node:fs";
import { dirname, join, resolve } from "node:path";
import { fileURLToPath } from "node:url";

const here = dirname(fileURLToPath(import.meta.url));
const [coreDir, outDir] = process.argv.slice(2).map((p) => resolve(p));
rmSync(outDir, { recursive: true, force: true });
mkdirSync(outDir, { recursive: true });
await build({
  entryPoints: [join(here, "src/main.js")],
  bundle: true,
  format: "esm",
  minify: true,
  target: "es2022",
  splitting: true, // the editor in a second file, loaded after the first picture
  outdir: outDir,
  entryNames: "app",
  chunkNames: "[name]-[hash]",
  alias: { "wirevane-core": join(coreDir, "wirevane-core.mjs") },
  loader: { ".txt": "text" },
  logLevel: "warning",
});
copyFileSync(join(coreDir, "wirevane-core.wasm"), join(outDir, "wirevane-core.wasm"));
copyFileSync(join(here, "index.html"), join(outDir, "index.html"));
