// The object text editor: CodeMirror with the desktop's gutter (point numbers, the separator
// mark, a sign on each line with findings). The findings come from the core's analysis.
import { EditorState, StateEffect, StateField } from "@codemirror/state";
import { EditorView, GutterMarker, gutter, keymap } from "@codemirror/view";
import { defaultKeymap, history, historyKeymap } from "@codemirror/commands";

const setAnalysis = StateEffect.define();
const analysisField = StateField.define({
  create: () => null,
  update: (value, tr) => {
    for (const effect of tr.effects) if (effect.is(setAnalysis)) return effect.value;
    return value;
  },
});

class LineMarker extends GutterMarker {
  constructor(line, messages) {
    super();
    this.line = line;
    this.messages = messages;
  }
  eq(other) {
    return (
      other.line.kind === this.line.kind &&
      other.line.number === this.line.number &&
      other.messages.join("\n") === this.messages.join("\n")
    );
  }
  toDOM() {
    const box = document.createElement("span");
    box.className = "wv-gutter-line";
    const sign = document.createElement("span");
    sign.className = "wv-sign";
    if (this.messages.length) {
      const error = this.messages.some((m) => m.error);
      sign.classList.add(error ? "wv-error" : "wv-warning");
      sign.textContent = error ? "\u2716" : "!";
      sign.title = this.messages.map((m) => m.message).join("\n");
    }
    box.append(sign);
    const number = document.createElement("span");
    number.className = "wv-number";
    if (this.line.kind === "point") {
      number.textContent = String(this.line.number);
      if (this.line.beyondTable) number.classList.add("wv-beyond");
    } else if (this.line.kind === "separator") {
      number.classList.add("wv-separator");
    }
    box.append(number);
    return box;
  }
}

function findingsByLine(analysis) {
  const byLine = new Map();
  for (const finding of analysis.findings) {
    if (!byLine.has(finding.line)) byLine.set(finding.line, []);
    byLine.get(finding.line).push(finding);
  }
  return byLine;
}

const objectGutter = gutter({
  class: "wv-gutter",
  lineMarker(view, line) {
    const analysis = view.state.field(analysisField);
    if (!analysis) return null;
    const index = view.state.doc.lineAt(line.from).number - 1;
    const info = analysis.lines[index];
    if (!info) return null;
    const messages = analysis.byLine.get(index + 1) || [];
    return new LineMarker(info, messages);
  },
  lineMarkerChange: (update) => update.transactions.some((tr) => tr.effects.some((e) => e.is(setAnalysis))),
  initialSpacer: () => new LineMarker({ kind: "point", number: 100 }, []),
});

// An editor in parent; onChange(text) after every change of the text.
export function createEditor(parent, onChange) {
  const view = new EditorView({
    parent,
    state: EditorState.create({
      doc: "",
      extensions: [
        history(),
        keymap.of([...defaultKeymap, ...historyKeymap]),
        analysisField,
        objectGutter,
        EditorView.lineWrapping,
        // A dropped file opens as an object (the page's drop), not as text in the editor.
        EditorView.domEventHandlers({ drop: (event) => event.dataTransfer?.files.length > 0 }),
        EditorView.contentAttributes.of({ "aria-label": "Object text", "aria-multiline": "true",
          "aria-describedby": "findings-count",
          tabindex: "0",
        }),
        EditorView.updateListener.of((update) => {
          if (update.docChanged) onChange(update.state.doc.toString());
        }),
      ],
    }),
  });
  return {
    view,
    text: () => view.state.doc.toString(),
    setText(text) {
      view.dispatch({ changes: { from: 0, to: view.state.doc.length, insert: text } });
    },
    showAnalysis(analysis) {
      view.dispatch({ effects: setAnalysis.of({ ...analysis, byLine: findingsByLine(analysis) }) });
    },
    // Puts the cursor at a finding's place and the focus in the editor.
    goTo(line, column) {
      const doc = view.state.doc;
      if (line < 1 || line > doc.lines) return;
      const at = doc.line(line);
      const pos = Math.min(at.from + Math.max(column - 1, 0), at.to);
      view.dispatch({ selection: { anchor: pos }, scrollIntoView: true });
      view.focus();
    },
  };
}
