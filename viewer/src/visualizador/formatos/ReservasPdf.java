package visualizador.formatos;

import java.io.IOException;
import java.nio.file.Path;
import java.util.ArrayList;
import java.util.List;
import java.util.function.Consumer;
import org.apache.pdfbox.pdmodel.PDDocument;

/**
 * The fonts a PDF falls back on for characters its own font lacks, shared by the regular and the
 * bold one. Each is read only when a character is first looked for in it, so a report in plain
 * Portuguese reads none; {@code aoUsar} puts one among the page resources when a page first needs
 * it, so that only fonts that print something are embedded.
 */
final class ReservasPdf {
    private final PDDocument doc;
    private final List<Path> arquivos;
    private final FontePdf[] fontes;
    private final boolean[] falhou;
    private final boolean[] usada;
    private final Consumer<FontePdf> aoUsar;

    ReservasPdf(PDDocument doc, List<Path> arquivos, Consumer<FontePdf> aoUsar) {
        this.doc = doc;
        this.arquivos = List.copyOf(arquivos);
        this.fontes = new FontePdf[arquivos.size()];
        this.falhou = new boolean[arquivos.size()];
        this.usada = new boolean[arquivos.size()];
        this.aoUsar = aoUsar;
    }

    int quantas() {
        return fontes.length;
    }

    /** The i-th font, loaded now if needed; null when it cannot be read (it is then skipped). */
    FontePdf fonte(int i) {
        if (fontes[i] == null && !falhou[i]) {
            try {
                fontes[i] = new FontePdf(doc, arquivos.get(i), "R" + (i + 1), false, null);
            } catch (IOException | RuntimeException e) {
                falhou[i] = true; // a damaged font file must not stop the report
            }
        }
        return fontes[i];
    }

    /** The i-th font shows a character: from now on pages may name it. */
    void usar(int i) {
        if (usada[i]) return;
        usada[i] = true;
        aoUsar.accept(fontes[i]);
    }

    /** The fonts that show something, to subset once the pages are written. */
    List<FontePdf> usadas() {
        final List<FontePdf> l = new ArrayList<>();
        for (int i = 0; i < fontes.length; i++) if (usada[i]) l.add(fontes[i]);
        return l;
    }
}
