#!/usr/bin/env node
// Takes the README's screenshot of the web page in headless Chromium: the house example with a
// typing mistake on one line, turned a little, with the cross and the point numbers.
//   scripts/take-web-screenshot.mjs [PAGE_DIR]   # after make web; writes data/screenshots/web-page.png
import { createRequire } from "node:module";
import { dirname, join, resolve } from "node:path";
import { fileURLToPath } from "node:url";

const source = resolve(dirname(fileURLToPath(import.meta.url)), "..");
const pageDir = resolve(process.argv[2] || join(source, "build/web"));
const require = createRequire(join(source, "web/package.json"));
const puppeteer = require("puppeteer-core");
const { serve } = await import(join(source, "web/serve.mjs"));

const server = await serve(pageDir, 0);
const browser = await puppeteer.launch({ executablePath: "/usr/bin/chromium", headless: true, args: ["--no-sandbox"] });
try {
  const page = await browser.newPage();
  await page.setViewport({ width: 1120, height: 660, deviceScaleFactor: 1 });
  await page.goto(`http://127.0.0.1:${server.address().port}/`);
  await page.waitForSelector("body[data-ready]");
  // "3/-2/-2" becomes "3/-2/,2" on the third line.
  await page.focus(".cm-content");
  await page.keyboard.down("Control");
  await page.keyboard.press("Home");
  await page.keyboard.up("Control");
  for (let i = 0; i < 2; i++) await page.keyboard.press("ArrowDown");
  await page.keyboard.press("End");
  await page.keyboard.press("Backspace");
  await page.keyboard.press("Backspace");
  await page.keyboard.type(",2");
  await new Promise((r) => setTimeout(r, 400));
  await page.click("#nav-cross");
  await page.click("#numbers");
  for (let i = 0; i < 10; i++) await page.click("#turn-right");
  for (let i = 0; i < 5; i++) await page.click("#turn-up");
  await page.focus("#picture");
  await page.screenshot({ path: join(source, "data/screenshots/web-page.png") });
} finally {
  await browser.close();
  server.close();
}
