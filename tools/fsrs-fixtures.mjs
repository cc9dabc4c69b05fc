// Writes the optimizer's fixtures (tests/core/review/fitting/): review logs of simulated
// learners and what the reference optimizer (fsrs-rs 6.5 through its npm binding) makes of them.
// Run from a folder where `npm install ts-fsrs@5 @open-spaced-repetition/binding@0.5.0` was done:
//   NODE_PATH=/tmp/fsrs/node_modules node tools/fsrs-fixtures.mjs tests/core/review/fitting [NAME]
// Each learner's memory follows FSRS-6 under weights unlike the defaults; the learner reviews
// when the program's scheduler (the defaults, 90 %) says, and each answer is drawn from the
// learner's true recall. NAME.revlog(.gz) is the log; NAME.expected holds the reference's
// fitted weights and its evaluation of them and of the defaults on the log's items.
import { createRequire } from 'node:module';
import { writeFileSync } from 'node:fs';
import { gzipSync } from 'node:zlib';
const require = createRequire(import.meta.url);
const from = (name) => require(process.env.NODE_PATH ? `${process.env.NODE_PATH}/${name}` : name);
const { fsrs, generatorParameters, createEmptyCard, default_w } = from('ts-fsrs');
const { computeParameters, FSRSBinding, FSRSBindingItem, FSRSBindingReview } =
  from('@open-spaced-repetition/binding');

const learners = {
  // name: [words, new words a day, days, true weights, seed]
  few: [60, 6, 40, [1.0, 2.5, 5.0, 15.0, 5.0, 0.5, 2.0, 0.01, 1.6, 0.25, 1.2, 1.2, 0.1, 0.4, 1.2,
                    0.4, 2.5, 0.5, 0.1, 0.05, 0.3], 1],
  steady: [500, 10, 200, [0.3, 0.9, 1.5, 6.0, 7.0, 0.9, 3.5, 0.05, 1.4, 0.3, 0.9, 1.8, 0.15, 0.35,
                          1.9, 0.5, 1.5, 0.5, 0.1, 0.05, 0.4], 2],
  forgetful: [2000, 25, 300, [0.1, 0.6, 1.2, 4.0, 7.5, 0.7, 2.5, 0.02, 1.2, 0.3, 0.6, 2.0, 0.05, 0.25,
                              2.2, 0.5, 1.6, 0.5, 0.1, 0.05, 0.25], 3],
  big: [12000, 100, 400, [0.8, 2.0, 4.0, 12.0, 5.5, 0.6, 1.8, 0.02, 2.0, 0.15, 1.1, 1.6, 0.08, 0.45,
                          1.5, 0.45, 2.2, 0.5, 0.1, 0.05, 0.5], 4],
};

function random(seed) {  // mulberry32: the same learners on every machine
  let a = seed >>> 0;
  return () => {
    a = (a + 0x6d2b79f5) >>> 0;
    let t = a;
    t = Math.imul(t ^ (t >>> 15), t | 1);
    t ^= t + Math.imul(t ^ (t >>> 7), t | 61);
    return ((t ^ (t >>> 14)) >>> 0) / 4294967296;
  };
}

const day = 86400000, start = Date.UTC(2025, 0, 6);
const options = { enable_fuzz: false, enable_short_term: false, request_retention: 0.9, maximum_interval: 36500 };

function simulate([words, perDay, days, w, seed]) {
  const rnd = random(seed);
  const scheduler = fsrs(generatorParameters(options));
  const truth = fsrs(generatorParameters({ ...options, w }));
  const cards = [];
  const lines = [];
  for (let d = 0; d < days; ++d) {
    for (let i = 0; i < perDay && cards.length < words; ++i) cards.push({ name: `w${cards.length + 1}`, due: 0 });
    const dayStart = start + d * day;
    let minute = 8 * 60;
    for (const c of cards) {
      if (c.due >= dayStart + day) continue;
      const t = dayStart + (minute++) * 60000 + Math.floor(rnd() * 60000);
      let rating;
      if (!c.sched) {
        const x = rnd();
        rating = x < 0.25 ? 1 : x < 0.4 ? 2 : x < 0.85 ? 3 : 4;
        c.sched = createEmptyCard(new Date(t));
        c.truth = createEmptyCard(new Date(t));
      } else {
        const recalled = rnd() < truth.get_retrievability(c.truth, new Date(t), false);
        const x = rnd();
        rating = !recalled ? 1 : x < 0.15 ? 2 : x < 0.9 ? 3 : 4;
      }
      c.sched = scheduler.next(c.sched, new Date(t), rating).card;
      c.truth = truth.next(c.truth, new Date(t), rating).card;
      c.due = c.sched.due.getTime();
      lines.push([t, c.name, rating]);
    }
  }
  lines.sort((a, b) => a[0] - b[0]);
  return lines;
}

// As the program makes them: per word, whole UTC days since its previous review; an item for
// every review on a later day than the one before, in the log's order.
function itemsOf(lines) {
  const history = new Map();
  const items = [];
  for (const [t, word, rating] of lines) {
    const dayNumber = Math.floor(t / day);
    const h = history.get(word);
    if (!h) { history.set(word, { last: dayNumber, reviews: [[rating, 0]] }); continue; }
    const gap = Math.max(0, dayNumber - h.last);
    h.last = dayNumber;
    h.reviews.push([rating, gap]);
    if (gap > 0) items.push(new FSRSBindingItem(h.reviews.map(([r, g]) => new FSRSBindingReview(r, g))));
  }
  return items;
}

const [outDir = 'tests/core/review/fitting', only] = process.argv.slice(2);
for (const [name, learner] of Object.entries(learners)) {
  if (only && name !== only) continue;
  const lines = simulate(learner);
  const log = lines.map(([t, word, rating]) => `${t},${word},${rating},${2000 + (t % 5000)}\r\n`).join('');
  const items = itemsOf(lines);
  const began = process.hrtime.bigint();
  const fitted = await computeParameters(items, { enableShortTerm: false });
  const seconds = Number(process.hrtime.bigint() - began) / 1e9;
  const fittedEval = new FSRSBinding(fitted).evaluate(items);
  const defaultEval = new FSRSBinding([...default_w]).evaluate(items);
  const logFile = `${outDir}/${name}.revlog${log.length > 100000 ? '.gz' : ''}`;
  writeFileSync(logFile, log.length > 100000 ? gzipSync(log, { level: 9 }) : log);
  writeFileSync(`${outDir}/${name}.expected`, [
    `reviews ${lines.length} items ${items.length}`,
    `fitted ${fitted.map((x) => Number(x.toFixed(6))).join(',')}`,
    `fitted-evaluation ${fittedEval.logLoss} ${fittedEval.rmseBins}`,
    `default-evaluation ${defaultEval.logLoss} ${defaultEval.rmseBins}`,
    '',
  ].join('\n'));
  console.error(`${name}: ${lines.length} reviews, ${items.length} items, fitted in ${seconds.toFixed(2)} s`);
}
