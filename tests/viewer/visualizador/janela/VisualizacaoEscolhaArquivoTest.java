package visualizador.janela;

import static org.junit.jupiter.api.Assertions.assertEquals;

import java.nio.file.Path;
import org.junit.jupiter.params.ParameterizedTest;
import org.junit.jupiter.params.provider.CsvSource;
import visualizador.Formato;

class VisualizacaoEscolhaArquivoTest {
    /** A typed known extension picks the format over the type chosen in the list. */
    @ParameterizedTest
    @CsvSource({"relatorio, PDF, PDF, relatorio.pdf", "relatorio.xls, PDF, XLS, relatorio.xls",
        "Relatorio.HTML, XLS, HTML, Relatorio.HTML", "relatorio.xlsx, PDF, XLS, relatorio.xls",
        "relatorio.txt, HTML, HTML, relatorio.txt.html", "r.pdf, HTML, PDF, r.pdf"})
    void extensaoDigitadaEscolheOFormato(String digitado, Formato tipo, Formato formato, String arquivo) {
        final Formato f = VisualizacaoEscolhaArquivo.formatoDigitado(digitado, tipo);
        assertEquals(formato, f);
        assertEquals(Path.of("/d", arquivo), VisualizacaoEscolhaArquivo.comExtensao(Path.of("/d", digitado), f));
    }

    /** The dialog's own texts are Portuguese whatever the system's language, and it opens where reports go. */
    @org.junit.jupiter.api.Test
    void dialogoEmPortuguesNaPastaDada(@org.junit.jupiter.api.io.TempDir Path pasta) {
        final java.util.Locale antes = java.util.Locale.getDefault();
        java.util.Locale.setDefault(java.util.Locale.US);
        try {
            final javax.swing.JFileChooser fc = VisualizacaoEscolhaArquivo.criar("r", pasta);
            assertEquals(pasta.toFile(), fc.getCurrentDirectory());
            final java.util.List<String> textos = new java.util.ArrayList<>();
            textos(fc, textos);
            final java.util.List<String> minusculas = textos.stream().map(t -> t.toLowerCase(java.util.Locale.ROOT)).toList();
            org.junit.jupiter.api.Assertions.assertTrue(minusculas.containsAll(java.util.List.of("salvar em:", "nome do arquivo:",
                    "cancelar")), textos.toString());
            org.junit.jupiter.api.Assertions.assertTrue(textos.stream().noneMatch(t -> t.matches("(?i).*(save in|file name|cancel)\\b.*")),
                    textos.toString());
        } finally {
            java.util.Locale.setDefault(antes);
        }
    }

    private static void textos(java.awt.Container c, java.util.List<String> l) {
        for (java.awt.Component f : c.getComponents()) {
            if (f instanceof javax.swing.JLabel r && r.getText() != null) l.add(r.getText());
            if (f instanceof javax.swing.AbstractButton b && b.getText() != null && !b.getText().isEmpty()) l.add(b.getText());
            if (f instanceof java.awt.Container d) textos(d, l);
        }
    }
}
