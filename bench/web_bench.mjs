// The web page in headless Chromium: what it loads (compressed), how soon after navigation the
// first picture stands, and the CPU that run mode costs.
//   node web_bench.mjs SOURCE_DIR PAGE_DIR
import { readFileSync, readdirSync } from "node:fs";
import { createRequire } from "node:module";
import { join, resolve } from "node:path";
import { brotliCompressSync, gzipSync } from "node:zlib";

const [source, pageDir] = process.argv.slice(2).map((a) => resolve(a));
const require = createRequire(join(source, "web/package.json"));
const puppeteer = require("puppeteer-core");
const { serve } = await import(join(source, "web/serve.mjs"));

let gzipTotal = 0, brotliTotal = 0, rawTotal = 0;
for (const name of readdirSync(pageDir).sort()) {
  const bytes = readFileSync(join(pageDir, name));
  const gz = gzipSync(bytes, { level: 9 }).length, br = brotliCompressSync(bytes).length;
  rawTotal += bytes.length; gzipTotal += gz; brotliTotal += br;
  console.log(`${name.padEnd(22)} ${String(bytes.length).padStart(8)} B, gzip ${String(gz).padStart(7)} B, brotli ${String(br).padStart(7)} B`);
}
console.log(`${"page total".padEnd(22)} ${String(rawTotal).padStart(8)} B, gzip ${String(gzipTotal).padStart(7)} B, brotli ${String(brotliTotal).padStart(7)} B (target: under 300 KB compressed)`);

// CPU seconds (user + system) of a process and of each process below it, by process id.
const ticksPerSecond = 100;
function cpuSeconds(pid, into = new Map()) {
  try {
    const stat = readFileSync(`/proc/${pid}/stat`, "utf8");
    const fields = stat.slice(stat.lastIndexOf(")") + 2).split(" ");
    into.set(pid, (Number(fields[11]) + Number(fields[12])) / ticksPerSecond);
    for (const task of readdirSync(`/proc/${pid}/task`)) {
      const children = readFileSync(`/proc/${pid}/task/${task}/children`, "utf8");
      for (const child of children.split(" ").filter(Boolean)) cpuSeconds(Number(child), into);
    }
  } catch {
    // gone meanwhile
  }
  return into;
}
// CPU seconds spent between two readings, by the processes of the second.
function spent(before, after, only) {
  let total = 0;
  for (const [pid, seconds] of after) if (!only || pid === only) total += seconds - (before.get(pid) || 0);
  return total;
}

const server = await serve(pageDir, 0);
const url = `http://127.0.0.1:${server.address().port}/`;
const browser = await puppeteer.launch({
  executablePath: "/usr/bin/chromium",
  headless: true,
  args: ["--no-sandbox", "--disable-gpu", "--no-first-run"],
});
try {
  const times = [];
  const runs = 11;
  for (let run = 0; run < runs; run++) {
    const context = await browser.createBrowserContext(); // a cold cache each time
    const page = await context.newPage();
    await page.setViewport({ width: 1200, height: 900, deviceScaleFactor: 1 });
    await page.goto(url);
    await page.waitForSelector("body[data-ready]");
    times.push(await page.evaluate(() => performance.getEntriesByName("first-picture")[0].startTime));
    await context.close();
  }
  times.sort((a, b) => a - b);
  console.log(`first picture after navigation: median ${times[runs >> 1].toFixed(1)} ms, best ${times[0].toFixed(1)} ms, worst ${times[runs - 1].toFixed(1)} ms of ${runs} cold loads (target: 300 ms)`);

  const page = await browser.newPage();
  await page.setViewport({ width: 1200, height: 900, deviceScaleFactor: 1 });
  await page.goto(url);
  await page.waitForSelector("body[data-ready]");
  await page.click("#turn-right");
  await page.click("#run");
  await new Promise((r) => setTimeout(r, 1000));
  const pid = browser.process().pid;
  const seconds = 10;
  const [before, t0] = [cpuSeconds(pid), performance.now()];
  await new Promise((r) => setTimeout(r, seconds * 1000));
  const [after, t1] = [cpuSeconds(pid), performance.now()];
  const wall = (t1 - t0) / 1000;
  console.log(`run mode, ${wall.toFixed(1)} s: browser process ${((100 * spent(before, after, pid)) / wall).toFixed(1)}% of one core, all of Chromium's processes ${((100 * spent(before, after)) / wall).toFixed(1)}% (target: below 5%)`);
} finally {
  await browser.close();
  server.close();
}
