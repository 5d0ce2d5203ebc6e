package visualizador.janela;

import java.awt.BorderLayout;
import java.awt.Component;
import java.io.File;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.Locale;
import javax.swing.BorderFactory;
import javax.swing.JFileChooser;
import javax.swing.JLabel;
import javax.swing.JOptionPane;
import javax.swing.JPanel;
import javax.swing.JTextField;
import javax.swing.filechooser.FileNameExtensionFilter;
import javax.swing.plaf.basic.BasicFileChooserUI;
import visualizador.ErroRelatorio;
import visualizador.Formato;
import visualizador.formatos.IntervaloPaginas;

/**
 * "Salvar como…": a file name and one of the formats the report can be written in; for a PDF,
 * optionally only some pages.
 */
final class VisualizacaoEscolhaArquivo {
    /** The chosen file, with the format's extension; {@code paginas} null for all. */
    record Escolha(Formato formato, Path arquivo, IntervaloPaginas paginas) {}

    private static final Formato[] FORMATOS = {Formato.PDF, Formato.XLS, Formato.HTML, Formato.CSV};
    private static final Locale PORTUGUES = Locale.forLanguageTag("pt-BR");

    private VisualizacaoEscolhaArquivo() {}

    /**
     * Null when the user gives up. {@code pasta}: where the dialog opens; {@code total}: the
     * report's pages, or -1 while it is still running (a range is then checked once it has run).
     */
    static Escolha escolher(Component pai, String nome, Path pasta, int total) {
        final JFileChooser fc = criar(nome, pasta);
        final JTextField paginas = new JTextField(8);
        paginas.setName("paginas");
        paginas.setToolTipText("Só no PDF: por exemplo 3-7, ou 5; em branco, todas as páginas");
        final JPanel acessorio = new JPanel(new BorderLayout(0, 4));
        acessorio.setBorder(BorderFactory.createEmptyBorder(0, 8, 0, 0));
        final JLabel rotulo = new JLabel("<html>Páginas do PDF<br>(em branco: todas)</html>");
        rotulo.setLabelFor(paginas);
        acessorio.add(rotulo, BorderLayout.NORTH);
        acessorio.add(paginas, BorderLayout.CENTER);
        fc.setAccessory(acessorio);
        fc.setAcceptAllFileFilterUsed(false);
        final FileNameExtensionFilter[] filtros = new FileNameExtensionFilter[FORMATOS.length];
        for (int i = 0; i < FORMATOS.length; i++) {
            final String ext = FORMATOS[i].extensao();
            filtros[i] = new FileNameExtensionFilter(FORMATOS[i].name() + " (*." + ext + ")", ext);
            fc.addChoosableFileFilter(filtros[i]);
        }
        fc.setFileFilter(filtros[0]);
        fc.setSelectedFile(new File(pasta.toFile(), nome + "." + Formato.PDF.extensao()));
        // Changing the type changes the extension of the name being typed.
        fc.addPropertyChangeListener(JFileChooser.FILE_FILTER_CHANGED_PROPERTY, e -> {
            final Formato f = formato(filtros, fc.getFileFilter());
            paginas.setEnabled(f == Formato.PDF);
            String atual = fc.getUI() instanceof BasicFileChooserUI ui ? ui.getFileName() : null;
            if (atual == null || atual.isBlank()) atual = nome;
            fc.setSelectedFile(new File(fc.getCurrentDirectory(), semExtensao(atual) + "." + f.extensao()));
        });
        while (fc.showSaveDialog(pai) == JFileChooser.APPROVE_OPTION) {
            final Formato f = formatoDigitado(fc.getSelectedFile().getName(), formato(filtros, fc.getFileFilter()));
            final Path arquivo = comExtensao(fc.getSelectedFile().toPath(), f);
            IntervaloPaginas intervalo = null;
            if (f == Formato.PDF) {
                try {
                    intervalo = paginasPedidas(paginas.getText(), total);
                } catch (ErroRelatorio ex) {
                    JOptionPane.showMessageDialog(pai, Avisos.quebrar(ex.getMessage()), "Salvar como",
                            JOptionPane.ERROR_MESSAGE);
                    continue;
                }
            }
            final Object[] botoes = {"Substituir", "Cancelar"};
            if (!Files.exists(arquivo) || JOptionPane.showOptionDialog(pai, arquivo.getFileName() + " já existe. Substituir?",
                    "Salvar como", JOptionPane.YES_NO_OPTION, JOptionPane.QUESTION_MESSAGE, null, botoes, botoes[1]) == 0)
                return new Escolha(f, arquivo, intervalo);
        }
        return null;
    }

    /** The range typed (null: all), checked against {@code total} pages when known (not -1). */
    static IntervaloPaginas paginasPedidas(String texto, int total) throws ErroRelatorio {
        final IntervaloPaginas intervalo = IntervaloPaginas.analisar(texto);
        if (intervalo != null && total >= 0) intervalo.verificar(total);
        return intervalo;
    }

    /**
     * The dialog in Portuguese whatever the system's language (Swing carries the texts: "Salvar
     * em:", "Nome do Arquivo:"), opening in {@code pasta}.
     */
    static JFileChooser criar(String nome, Path pasta) {
        final JFileChooser fc = new JFileChooser(pasta.toFile());
        fc.setLocale(PORTUGUES);
        fc.updateUI(); // the texts are read as the look is installed
        fc.setDialogType(JFileChooser.SAVE_DIALOG); // after: the look changes "Pesquisar em:" on the change
        fc.setDialogTitle("Salvar como");
        return fc;
    }

    private static Formato formato(FileNameExtensionFilter[] filtros, Object filtro) {
        for (int i = 0; i < filtros.length; i++)
            if (filtros[i] == filtro) return FORMATOS[i];
        return Formato.PDF;
    }

    /** A typed known extension (".xlsx" too, as XLS) says the format; otherwise the chosen type does. */
    static Formato formatoDigitado(String nome, Formato escolhido) {
        final String n = nome.toLowerCase(Locale.ROOT);
        if (n.endsWith(".xlsx")) return Formato.XLS;
        for (Formato f : FORMATOS)
            if (n.endsWith("." + f.extensao())) return f;
        return escolhido;
    }

    /** The name with the format's extension; a typed ".xlsx" becomes ".xls", the workbook written. */
    static Path comExtensao(Path arquivo, Formato f) {
        String n = arquivo.getFileName().toString();
        if (f == Formato.XLS && n.toLowerCase(Locale.ROOT).endsWith(".xlsx")) {
            n = n.substring(0, n.length() - 1);
            arquivo = arquivo.resolveSibling(n);
        }
        return n.toLowerCase(Locale.ROOT).endsWith("." + f.extensao()) ? arquivo
                : arquivo.resolveSibling(n + "." + f.extensao());
    }

    private static String semExtensao(String n) {
        for (Formato f : FORMATOS)
            if (n.toLowerCase(Locale.ROOT).endsWith("." + f.extensao()))
                return n.substring(0, n.length() - f.extensao().length() - 1);
        return n;
    }
}
